#!/usr/bin/env python3
"""Checks a --json result against the statistics section of the same run's
listing: every count shown there must be in the JSON with the same value,
and with --json-lines every change line of a Long listing has its record.
usage: json_check.py LISTING JSON"""
import json
import re
import sys

LABELS = {
    "Number Of Line Matches": ("counts", "matches"),
    "Total Changes (Paired+NonPaired Chg)": ("counts", "total_changes"),
    "Reformatted Lines": ("counts", "reformatted"),
    "Paired Changes (Refm+Paired Ins/Del)": ("counts", "paired_changes"),
    "New File Line Insertions": ("counts", "inserted"),
    "Non-Paired Inserts (Ins Paired-Chg)": ("counts", "non_paired_inserts"),
    "Old File Line Deletions": ("counts", "deleted"),
    "Non-Paired Deletes (Del Paired-Chg)": ("counts", "non_paired_deletes"),
    "New File Lines Processed": ("counts", "new_processed"),
    "Old File Lines Processed": ("counts", "old_processed"),
    "New Not-Proc Dp/Cmt Lines": ("counts", "new_not_processed"),
    "Old Not-Proc Dp/Cmt Lines": ("counts", "old_not_processed"),
    "New Part Dp/Cmts Lines": ("counts", "new_part_dp"),
    "Old Part Dp/Cmts Lines": ("counts", "old_part_dp"),
    "Number of Moved lines detected": ("counts", "moved"),
    "New File Line Match Dupes": ("counts", "new_dupes"),
    "Old File Line Match Dupes": ("counts", "old_dupes"),
    "New File Lines Blank": ("counts", "new_blank"),
    "Old File Lines Blank": ("counts", "old_blank"),
    "New File Total Bytes": ("new_file", "compared_bytes"),
    "Old File Total Bytes": ("old_file", "compared_bytes"),
}
PATTERN = re.compile(r"(-?\d+) (" + "|".join(re.escape(k) for k in LABELS) + ")")


def main(listing_path, json_path):
    listing = open(listing_path, "rb").read().decode("latin-1").split("\r\n")
    result = json.load(open(json_path, encoding="utf-8"))
    failures = []
    seen = 0
    for line in listing:
        for value, label in PATTERN.findall(line):
            group, key = LABELS[label]
            seen += 1
            if result[group][key] != int(value):
                failures.append(f"{label}: listing {value}, JSON {result[group][key]}")
        m = re.match(r"LISTING-TYPE = (\w+)\s+OPTIONS = (.*?)\s+LONGEST-LINE = \((\d+)/(\d+)\) PASSES = (\d+)", line)
        if m:
            seen += 1
            checks = [("listing_type", result["listing_type"], m.group(1)),
                      ("options", result["options"], m.group(2).rstrip()),
                      ("new longest", result["new_file"]["longest_line"], int(m.group(3))),
                      ("old longest", result["old_file"]["longest_line"], int(m.group(4))),
                      ("passes", result["passes"], int(m.group(5)))]
            failures += [f"{name}: JSON {got}, listing {want}" for name, got, want in checks if got != want]
    if seen < 6:
        failures.append(f"only {seen} statistics found in the listing")
    if result["result"] not in listing:
        failures.append("the result message is not in the listing")
    if "changes" in result and result["listing_type"] == "Long":
        ids = {}
        for line in listing:
            if line[:3] in ("I -", "D -", "RN-", "RO-", "IM-", "DM-", "XN-", "XO-", "XR-"):
                ids[line[:3]] = ids.get(line[:3], 0) + 1
        recorded = {}
        for change in result["changes"]:
            recorded[change["id"]] = recorded.get(change["id"], 0) + 1
        if ids != recorded:
            failures.append(f"change lines {ids}, records {recorded}")
    for failure in failures:
        print(f"json_check {listing_path}: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
