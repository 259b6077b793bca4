#!/usr/bin/env python3
"""Usage: check_repeat.py JSON TEXT N UNTIL_STABLE(0|1)

Checks a repeated run of test 4: every run in the record, each figure's
statistics computed from them, the medians in `result` and on screen.
"""
import json
import re
import statistics
import sys

SETTLED_RSD = 3.5


def rsd(values):
    mean = statistics.fmean(values)
    return 0.0 if len(values) < 2 or mean == 0 else statistics.stdev(values) / mean * 100


def near(a, b, tolerance):
    return abs(a - b) <= tolerance * max(1.0, abs(b))


def check(repeat, result, text, planned, until_stable):
    runs, stats = repeat["runs"], repeat["stats"]
    limit = 3 * planned if until_stable else planned
    assert planned <= len(runs) <= limit and repeat["until_stable"] == until_stable, len(runs)
    assert set(stats) == {"overall_time_s", "mips", "mips_time_s"}, stats
    for key, figure in stats.items():
        values = [run[key] for run in runs]
        expected = (statistics.median(values), min(values), max(values), result[key])
        shown = (figure["median"], figure["min"], figure["max"], figure["median"])
        assert all(near(a, b, 1e-6) for a, b in zip(shown, expected)), (key, figure, values)
        assert abs(figure["rsd_percent"] - rsd(values)) < 1e-3, (key, figure, values)
    assert repeat["settled"] == all(f["rsd_percent"] <= SETTLED_RSD for f in stats.values())
    # Each run past the count asked for was wanted: the runs before it had not settled.
    for count in range(planned, len(runs)):
        assert any(rsd([run[key] for run in runs[:count]]) > SETTLED_RSD for key in stats), count
    assert repeat["settled"] or len(runs) == limit
    assert all(f"Run {run} of {planned}\n" in text for run in range(1, planned + 1)), "headings"
    mips = stats["mips"]
    printed = re.search(r"MIPS Result +(\d+) MIPS", text)
    assert printed and int(printed.group(1)) == int(mips["median"]), "printed MIPS"
    assert f"Repeat Statistics: {len(runs)} runs" in text
    row = re.search(r"\n  MIPS +([\d.]+) +([\d.]+) +([\d.]+) +([\d.]+)\n", text)
    expected = (mips["median"], mips["min"], mips["max"], mips["rsd_percent"])
    assert row and all(abs(float(a) - b) <= 0.051 for a, b in zip(row.groups(), expected)), mips


if __name__ == "__main__":
    with open(sys.argv[1], encoding="utf-8") as json_file, open(sys.argv[2]) as text_file:
        document, text = json.load(json_file), text_file.read()
    try:
        check(document["repeat"], document["result"], text, int(sys.argv[3]), sys.argv[4] == "1")
    except AssertionError as error:
        sys.exit(f"check_repeat: {error!r}\n{text}")
