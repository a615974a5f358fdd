"""Checks `pradima gan --format json` against gaps computed here from the
published North results (every day, "2 Con"), independently of the tool."""
import csv
import json
import subprocess
import sys

PERIOD = ("2025-01-01", "2025-12-31")


def draws(results_csv):
    """The period's draw days, oldest first: (date, set of two-digit numbers)."""
    with open(results_csv, newline="", encoding="utf-8") as f:
        rows = [row for row in csv.DictReader(f) if PERIOD[0] <= row["date"] <= PERIOD[1]]
    rows.sort(key=lambda row: row["date"])
    return [(row["date"], {int(v) % 100 for k, v in row.items() if k != "date" and v.strip()}) for row in rows]


def expected_gaps(days, number):
    seen = [i for i, (_, numbers) in enumerate(days) if number in numbers]
    if not seen:
        return {"last_drawn": None, "current_gap": len(days), "longest_gap": None, "longest_gap_ended": None,
                "longest_gap_running": False}
    # (length, end index, running); the latest of equally long gaps wins.
    gaps = [(b - a - 1, b, False) for a, b in zip(seen, seen[1:])]
    gaps.append((len(days) - 1 - seen[-1], len(days) - 1, True))
    longest = max(gaps, key=lambda gap: (gap[0], gap[1]))
    return {"last_drawn": days[seen[-1]][0], "current_gap": len(days) - 1 - seen[-1], "longest_gap": longest[0],
            "longest_gap_ended": days[longest[1]][0], "longest_gap_running": longest[2]}


def main(tool, book, results_csv):
    days = draws(results_csv)
    assert len(days) > 300, f"the results hold only {len(days)} days of {PERIOD}"
    output = subprocess.run([tool, "gan", book, "--from", PERIOD[0], "--to", PERIOD[1], "--region", "Miền Bắc",
                             "--weekday", "Tất cả", "--type", "2 Con", "--top", "100", "--format", "json"],
                            check=True, capture_output=True, text=True, encoding="utf-8").stdout
    report = json.loads(output)
    assert report["draw_days"] == len(days), (report["draw_days"], len(days))
    assert report["request"]["from"] == PERIOD[0] and report["request"]["to"] == PERIOD[1], report["request"]
    rows = {row["number"]: row for row in report["rows"]}
    assert len(rows) == 100, len(rows)
    for number in range(100):
        row = dict(rows[f"{number:02d}"])
        del row["number"]
        assert row == expected_gaps(days, number), (number, row, expected_gaps(days, number))
    gaps = [row["current_gap"] for row in report["rows"]]
    assert gaps == sorted(gaps, reverse=True), "the longest current gaps come first"
    top = json.loads(subprocess.run([tool, "gan", book, "--from", PERIOD[0], "--to", PERIOD[1], "--type", "2 Con",
                                     "--region", "Miền Bắc", "--weekday", "Tất cả", "--format", "json"],
                                    check=True, capture_output=True, text=True, encoding="utf-8").stdout)
    assert top["rows"] == report["rows"][:20], "--top defaults to 20"
    print(f"gan agrees on all 100 numbers over {len(days)} draw days")


if __name__ == "__main__":
    main(*sys.argv[1:])
