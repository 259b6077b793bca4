#!/usr/bin/env python3
"""Checks what a repeated run wrote: its JSON record and its readable text.

Usage: check_repeat.py JSON TEXT N UNTIL_STABLE(0|1)
The record must hold every run, each figure's statistics computed from them,
and the median record in `result`; the text must show the same medians.
"""
import json
import re
import statistics
import sys

SETTLED_RSD = 3.5


def rsd(values):
    mean = statistics.fmean(values)
    return 0.0 if len(values) < 2 or mean == 0 else statistics.stdev(values) / mean * 100


def check(document, text, planned, until_stable):
    repeat, result = document["repeat"], document["result"]
    runs = repeat["runs"]
    limit = 3 * planned if until_stable else planned
    assert planned <= len(runs) <= limit, f"{len(runs)} runs of {planned}"
    assert repeat["until_stable"] == until_stable
    assert set(repeat["stats"]) == {"overall_time_s", "mips", "mips_time_s"}, repeat["stats"]
    for key, stats in repeat["stats"].items():
        values = [run[key] for run in runs]
        expected = {"median": statistics.median(values), "min": min(values), "max": max(values)}
        for name, value in expected.items():
            assert abs(stats[name] - value) <= 1e-6 * max(1.0, value), (key, name, stats, values)
        assert abs(stats["rsd_percent"] - rsd(values)) < 1e-3, (key, stats, values)
        assert abs(result[key] - stats["median"]) <= 1e-6 * max(1.0, result[key]), (key, result)
    spreads = [stats["rsd_percent"] for stats in repeat["stats"].values()]
    assert repeat["settled"] == all(spread <= SETTLED_RSD for spread in spreads)
    if until_stable:
        # Each run past the count asked for was wanted: the runs before it had not settled.
        for count in range(planned, len(runs)):
            earlier = [[run[key] for run in runs[:count]] for key in repeat["stats"]]
            assert any(rsd(values) > SETTLED_RSD for values in earlier), f"run {count + 1}"
        assert repeat["settled"] or len(runs) == limit
    for run in range(1, planned + 1):
        assert f"Run {run} of {planned}\n" in text, f"no heading for run {run}"
    mips = repeat["stats"]["mips"]
    printed = re.search(r"MIPS Result +(\d+) MIPS", text)
    assert printed and int(printed.group(1)) == int(mips["median"]), "printed MIPS is not the median"
    assert f"Repeat Statistics: {len(runs)} runs" in text
    row = re.search(r"\n  MIPS +([\d.]+) +([\d.]+) +([\d.]+) +([\d.]+)\n", text)
    assert row, "no MIPS row in the table"
    for shown, value in zip(row.groups(), (mips["median"], mips["min"], mips["max"], mips["rsd_percent"])):
        assert abs(float(shown) - value) <= 0.051, (row.group(0), mips)


def main(argv):
    with open(argv[1], encoding="utf-8") as stream:
        document = json.load(stream)
    with open(argv[2], encoding="utf-8") as stream:
        text = stream.read()
    try:
        check(document, text, int(argv[3]), argv[4] == "1")
    except AssertionError as error:
        sys.exit(f"check_repeat: {error}\n{text}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
