#!/usr/bin/python3
"""Checks tondrela-analyse --csv against its JSON Lines output for the same files.

usage: csv_matches_json.py EXPORT.csv OUTPUT.jsonl

The CSV must parse strictly (RFC 4180, rows ended by CRLF), hold one row per JSON line and
as many fields in every row as in its header row. Each column names a JSON key, with the
objects it lies in ("apg.wellnessIndex"), and holds that key's value: the same text, the same
number (numbers are compared as the doubles they denote), or an empty field where the value
is null or absent. Prints the first difference and exits 1.
"""
import csv
import json
import sys


def refuse(name):
    raise ValueError(name)


def lookup(obj, name):
    for part in name.split("."):
        obj = obj.get(part) if isinstance(obj, dict) else None
    return obj


def same(cell, value):
    if value is None:
        return cell == ""
    if isinstance(value, bool) or isinstance(value, (list, dict)):
        return False
    if isinstance(value, int):
        return cell == str(value)
    if isinstance(value, float):
        return cell != "" and float(cell) == value
    return cell == value


def main(csv_path, json_path):
    raw = open(csv_path, "rb").read()
    with open(csv_path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f, strict=True))
    if not raw.endswith(b"\r\n") or raw.count(b"\r\n") < len(rows):
        return "rows are not ended by CRLF"
    objects = [json.loads(line, parse_constant=refuse)
               for line in open(json_path, encoding="utf-8").read().splitlines()]
    header, body = rows[0], rows[1:]
    if len(body) != len(objects):
        return f"{len(body)} rows, {len(objects)} JSON lines"
    for number, (row, obj) in enumerate(zip(body, objects), 1):
        if len(row) != len(header):
            return f"row {number}: {len(row)} fields, the header {len(header)}"
        for name, cell in zip(header, row):
            value = lookup(obj, name)
            if not same(cell, value):
                return f"row {number}, column {name}: CSV {cell!r}, JSON {value!r}"
    return None


if __name__ == "__main__":
    fault = main(sys.argv[1], sys.argv[2])
    if fault:
        print(fault)
        sys.exit(1)
