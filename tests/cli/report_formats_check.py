"""The CSV and JSON reports of stats and gan, read by Python's csv and json."""
import csv
import io
import json
import os
import shutil
import subprocess
import sys
import tempfile

REQUEST = ["--from", "2026-01-01", "--to", "2026-03-31", "--region", "Miền Bắc", "--weekday", "Thứ Hai"]


def run(tool, *args):
    return subprocess.run([tool, *args], check=True, capture_output=True, text=True, encoding="utf-8").stdout


def main(tool, example):
    with tempfile.TemporaryDirectory() as directory:
        book = os.path.join(directory, "b.xlsx")
        shutil.copy(example, book)
        stats = [*REQUEST, "--set", "Số Kép", "--type", "2 Con"]
        as_json = json.loads(run(tool, "stats", book, *stats, "--format", "json"))
        as_csv = list(csv.DictReader(io.StringIO(run(tool, "stats", book, *stats, "--format", "csv"))))
        assert as_json["request"]["weekday"] == "Thứ Hai" and as_json["request"]["region"] == "Miền Bắc"
        assert as_json["request"]["from"] == "2026-01-01", as_json["request"]
        assert isinstance(as_json["draw_days"], int) and 10 <= as_json["draw_days"] <= 13, as_json["draw_days"]
        assert [row["number"] for row in as_json["rows"]] == [f"{d}{d}" for d in range(10)], as_json["rows"]
        assert len(as_csv) == len(as_json["rows"])
        for from_csv, from_json in zip(as_csv, as_json["rows"]):
            assert from_csv["number"] == from_json["number"]
            for field in ("days", "appearances"):
                value = from_json[field]
                assert value is None or isinstance(value, int), from_json
                assert from_csv[field] == ("" if value is None else str(value)), (from_csv, from_json)
            assert from_json["days"] is None or from_json["days"] <= as_json["draw_days"]

        gan = [*REQUEST, "--type", "3 Con", "--top", "30"]
        gan_json = json.loads(run(tool, "gan", book, *gan, "--format", "json"))
        gan_csv = list(csv.DictReader(io.StringIO(run(tool, "gan", book, *gan, "--format", "csv"))))
        assert gan_json["draw_days"] == as_json["draw_days"], "gan and stats see the same draw days"
        assert gan_json["request"]["top"] == 30 and len(gan_json["rows"]) == 30 == len(gan_csv)
        for from_csv, from_json in zip(gan_csv, gan_json["rows"]):
            assert len(from_json["number"]) == 3
            assert from_csv["number"] == from_json["number"]
            assert int(from_csv["current_gap"]) == from_json["current_gap"]
            assert from_csv["last_drawn"] == (from_json["last_drawn"] or "")
            assert from_csv["longest_gap_running"] == ("true" if from_json["longest_gap_running"] else "false")
    print("stats and gan reports parse as CSV and JSON and agree")


if __name__ == "__main__":
    main(*sys.argv[1:])
