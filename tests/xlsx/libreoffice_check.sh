#!/usr/bin/env bash
# LibreOffice opens a workbook the tool wrote and finds the cells we wrote.
set -euo pipefail
tool=$1
example=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$example" "$work/b.xlsx"
"$tool" stats "$work/b.xlsx" --from 2026-01-01 --to 2026-08-22 --set "Số Kép" --type "2 Con" >/dev/null
# every sheet to its own CSV file
HOME="$work" timeout 300 soffice --headless --norestore \
  --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1' \
  --outdir "$work/out" "$work/b.xlsx" >/dev/null 2>&1
expect() {
  grep -qF -- "$2" "$work/out/$1" || { echo "LibreOffice: no '$2' in $1" >&2; head -5 "$work/out/$1" >&2; exit 1; }
}
expect b-ThongKe.csv " * Tổng số ngày thống kê: 230"
expect b-ThongKe.csv "Miền Bắc,,,,00,50,58"
expect b-ThongKe.csv ",,,,99,49,55"
expect b-KetQua.csv "T7,34584,16876,34885"
echo "LibreOffice round trip passed"
