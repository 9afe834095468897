#!/usr/bin/env python3
"""Turns the register of Polish tax offices into the INSERT lines of the
schema script (table financial_office_static).

Usage: tools/tax_offices_sql.py [path/to/tax-offices.csv] > lines.sql

The register writes names in capitals ("URZĄD SKARBOWY W BOLESŁAWCU"); the
application shows them in ordinary case ("Urząd Skarbowy w Bolesławcu").
Only the ordinary offices (xx02-xx69) are kept: the offices for large
taxpayers (xx71-xx73) are not offered to a small business.

The register carries no postal addresses. Only the offices below have a
known address; every other row keeps its address fields empty rather than
a guessed value.
"""
import csv
import os
import sys

KNOWN_ADDRESSES = {
    "0202": ("59-700", "Bolesławiec", "Garncarska 10"),
    "1402": ("26-800", "Białobrzegi", "Władysława Reymonta 46"),
    "3220": ("78-600", "Wałcz", "Tadeusza Kościuszki 4"),
}

# Prepositions stay in lower case inside a name ("w", "we", "nad Notecią").
LOWER_WORDS = {"w", "we", "nad"}


def proper_case(name):
    words = []
    for word in name.lower().split(" "):
        if word in LOWER_WORDS:
            words.append(word)
        else:
            words.append("-".join(part[:1].upper() + part[1:] for part in word.split("-")))
    return " ".join(words)


def sql_text(text):
    return "'" + text.replace("'", "''") + "'"


def main():
    default = os.path.join(os.path.dirname(__file__), "..", "tests", "core", "data", "tax-offices.csv")
    path = sys.argv[1] if len(sys.argv) > 1 else default
    with open(path, encoding="utf-8", newline="") as f:
        rows = [r for r in csv.DictReader(f) if int(r["code"][2:]) < 70]
    for r in sorted(rows, key=lambda r: r["code"]):
        zipcode, city, address = KNOWN_ADDRESSES.get(r["code"], ("", "", ""))
        values = ", ".join([sql_text(r["code"]), str(int(r["id_province"])), sql_text(proper_case(r["name"])),
                            sql_text(zipcode), sql_text(city), sql_text(address)])
        print("INSERT INTO financial_office_static (code, id_province, name, zipcode, city, address) "
              "VALUES (" + values + ");")


if __name__ == "__main__":
    main()
