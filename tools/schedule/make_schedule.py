#!/usr/bin/env python3
"""Writes a varied room schedule (semicolon CSV, decimal comma, UTF-8 with BOM, CR LF) to stdout:
offices, meeting rooms, classrooms and halls, every room without a fixed outlet, so that each
is ranked. The cooling is given in each of the ways the schedule accepts: flow and supply
temperature, flow and cooling load, all three, or cooling load and supply temperature without a
flow; the comfort category is A, B, C or left empty. For timing `zelkfyl-cli schedule` and for
trying it out.

    python3 tools/schedule/make_schedule.py 1000 > bench.csv
    python3 tools/schedule/make_schedule.py 50 7 --out rooms.csv
    python3 tools/schedule/make_schedule.py 50 --english --out rooms.csv   # comma, decimal point

--english writes the CSV an English spreadsheet exports: comma separated, decimal point.
"""
import argparse
import random
import sys

HEADER = ("Raum;Breite;Länge;Höhe;Luftwechsel;Volumenstrom;Kühllast;Raumtemperatur;Zulufttemperatur;"
          "Kopfhöhe;Einbauhöhe;Luftgeschwindigkeit;Schallleistung;Typ;Größe;Strahlform;Schlitzlänge;"
          "Schlitzanzahl;Rohr;Komfortkategorie")
KINDS = [  # name, width, length, height, air change rate
    ("Büro", (3, 6), (4, 8), (2.6, 3.2), (3, 6)),
    ("Besprechung", (4, 8), (5, 10), (2.8, 3.4), (5, 8)),
    ("Klassenraum", (6, 9), (7, 10), (3.0, 3.6), (4, 7)),
    ("Halle", (12, 30), (15, 40), (4.0, 8.0), (2, 4)),
]


POINT = False  # --english


def number(value, decimals):
    text = f"{value:.{decimals}f}"
    return text if POINT else text.replace(".", ",")


def rounded(value, decimals):
    """The value as its text in the schedule gives it."""
    return float(f"{value:.{decimals}f}")


def cooling_load(flow, dt):
    """kW, as the program computes it: flow [m³/h] / 3600 · 1,2 · 1,006 · ΔT [K]."""
    return flow / 3600 * 1.2 * 1.006 * dt


def positive(text):
    value = int(text)
    if value < 1:
        raise argparse.ArgumentTypeError(f"{text} is not a positive number of rooms")
    return value


def main():
    parser = argparse.ArgumentParser(description="Writes a varied room schedule for zelkfyl-cli schedule.")
    parser.add_argument("count", nargs="?", type=positive, default=1000, help="number of rooms (1000)")
    parser.add_argument("seed", nargs="?", type=int, default=1, help="seed of the random rooms (1)")
    parser.add_argument("--out", help="file to write instead of standard output")
    parser.add_argument("--english", action="store_true", help="comma separated, decimal point")
    args = parser.parse_args()
    global POINT
    POINT = args.english
    count = args.count
    rng = random.Random(args.seed)
    lines = [HEADER.replace(";", ",") if args.english else HEADER]
    for i in range(1, count + 1):
        name, w, l, h, ach = KINDS[i % len(KINDS)]
        width, length, height = rng.uniform(*w), rng.uniform(*l), rng.uniform(*h)
        rate = rng.uniform(*ach)
        use_flow = i % 3 == 0
        flow = width * length * height * rate
        room_temp = rng.choice([20, 21, 22, 24])
        supply = room_temp - rng.uniform(2, 8)
        # An unused draw: the cooling load is derived below, but dropping this draw would change
        # every later room of a seed, and the timing and test lists rely on them.
        rng.uniform(0.5, 5)
        planned_flow = (rounded(flow, 0) if use_flow else
                        rounded(width, 2) * rounded(length, 2) * rounded(height, 2) * rounded(rate, 1))
        load = number(cooling_load(planned_flow, room_temp - rounded(supply, 1)), 3)
        given = ["flow supply", "flow load", "flow load supply", "load supply"][i % 4]
        fields = [f"{name} {i:04d}", number(width, 2), number(length, 2), number(height, 2),
                  "" if use_flow or "flow" not in given else number(rate, 1),
                  number(flow, 0) if use_flow and "flow" in given else "",
                  load if "load" in given else "", str(room_temp), number(supply, 1) if "supply" in given else "",
                  number(1.8, 1), number(height, 2), number(rng.choice([0.15, 0.2, 0.25]), 2),
                  str(rng.choice([30, 35, 40, 45])), "", "", "", "", "", "", ["", "A", "B", "C"][i // 4 % 4]]
        lines.append(",".join(fields) if POINT else ";".join(fields))
    data = b"\xef\xbb\xbf" + ("\r\n".join(lines) + "\r\n").encode("utf-8")
    if args.out:
        with open(args.out, "wb") as f:
            f.write(data)
    else:
        sys.stdout.buffer.write(data)


if __name__ == "__main__":
    main()
