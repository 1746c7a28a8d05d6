#!/usr/bin/env python3
"""Writes what zelkfyl-cli prints and writes for a corpus of generated projects into one folder,
so that two builds can be compared with `diff -r` after a change that must not change behaviour
(moving code, renaming, a linter's fixes).

The corpus: a varied room schedule (tools/schedule/make_schedule.py) planned by `schedule`, then
project i gets choice i·7 of the ranking's full choice list (every type, size, jet form and slot
configuration the selection offers) through `plan --write`. For every project it records
`evaluate`, `evaluate --count 3`, `plan`, `picture --svg` (plain and with the sliders moved),
`report --pdf` as text (pdftotext), `exchange` and `rank --csv`, each with its exit code and
standard error.

    python3 tools/snapshot/behaviour_snapshot.py --cli build/zelkfyl-cli \\
        --program-dir build/program --out /tmp/after [--rooms 420]
    diff -r /tmp/before /tmp/after
"""
import argparse
import concurrent.futures
import csv
import io
import os
import pathlib
import shutil
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
MAKE_SCHEDULE = HERE.parent / "schedule" / "make_schedule.py"


def run(args, cwd=None):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    done = subprocess.run(args, cwd=cwd, capture_output=True, env=env)
    return done.returncode, done.stdout, done.stderr


def record(out, name, result, text=None):
    code, stdout, stderr = result
    body = b"exit %d\n--- stdout\n" % code + stdout + b"\n--- stderr\n" + stderr
    if text is not None:
        body += b"\n--- file\n" + text
    # The scratch folder is named after the output folder; two snapshots differ in it alone.
    body = body.replace(str(out.parent / (out.name + ".work")).encode(), b"WORK")
    (out / name).write_bytes(body)


def plan_args(choice):
    args = ["--type", choice["Typ"], "--size", choice["Größe"], "--jet-form", choice["Strahlform"]]
    if choice["Schlitzlänge"]:
        args += ["--length", choice["Schlitzlänge"], "--slots", choice["Schlitzanzahl"]]
    if choice["Rohr"]:
        args += ["--tube", choice["Rohr"]]
    return args


def snapshot(cli, program, work, out, index, room, choice):
    prog = ["--program-dir", str(program)]
    stem = f"{index:04d}"
    project = work / f"{stem}.zol"
    planned = run([cli, "plan", str(room)] + plan_args(choice) + ["--write", str(project)] + prog)
    record(out, f"{stem}.plan", planned)
    if planned[0] != 0:
        return
    record(out, f"{stem}.evaluate", run([cli, "evaluate", str(project)] + prog))
    record(out, f"{stem}.evaluate-count3", run([cli, "evaluate", str(project), "--count", "3"] + prog))
    for variant, extra in (("plain", []), ("moved", ["--spacing", "2,5", "--wall-left", "1.2",
                                                    "--wall-right", "0,7", "--proportional"])):
        svg = work / f"{stem}-{variant}.svg"
        result = run([cli, "picture", str(project), "--svg", str(svg)] + extra + prog)
        record(out, f"{stem}.picture-{variant}", result, svg.read_bytes() if svg.exists() else None)
    pdf = work / f"{stem}.pdf"
    result = run([cli, "report", str(project), "--pdf", str(pdf)] + prog)
    text = run(["pdftotext", "-layout", str(pdf), "-"])[1] if pdf.exists() else None
    record(out, f"{stem}.report", result, text)
    ceiling, sound = work / f"{stem}.ceiling", work / f"{stem}.sound"
    result = run([cli, "exchange", str(project), "--ceiling", str(ceiling), "--sound", str(sound)] + prog)
    files = b"".join(p.read_bytes() for p in (ceiling, sound) if p.exists())
    record(out, f"{stem}.exchange", result, files)
    record(out, f"{stem}.rank", run([cli, "rank", str(project), "--csv"] + prog))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cli", required=True)
    parser.add_argument("--program-dir", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--rooms", type=int, default=420)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    args = parser.parse_args()
    cli = str(pathlib.Path(args.cli).resolve())
    program = pathlib.Path(args.program_dir).resolve()
    out = pathlib.Path(args.out).resolve()
    if out.exists():
        shutil.rmtree(out)
    work = out.parent / (out.name + ".work")
    if work.exists():
        shutil.rmtree(work)
    out.mkdir(parents=True)
    work.mkdir(parents=True)

    rooms_csv = work / "rooms.csv"
    subprocess.run([sys.executable, str(MAKE_SCHEDULE), str(args.rooms), "19", "--out", str(rooms_csv)],
                   check=True)
    rooms_dir = work / "rooms"
    record(out, "schedule", run([cli, "schedule", str(rooms_csv), "--out", str(rooms_dir), "--jobs", "1",
                                 "--program-dir", str(program)]))
    shutil.copy(rooms_dir / "results.csv", out / "schedule-results.csv")
    rooms = sorted(rooms_dir.glob("*.zol"))
    if len(rooms) < args.rooms:
        sys.exit(f"only {len(rooms)} of {args.rooms} rooms were planned")

    ranking = run([cli, "rank", str(rooms[0]), "--csv", "--program-dir", str(program)])
    choices = list(csv.DictReader(io.StringIO(ranking[1].decode("utf-8-sig")), delimiter=";"))
    choices.sort(key=lambda c: (c["Typ"], c["Größe"], c["Strahlform"], c["Schlitzlänge"],
                                c["Schlitzanzahl"], c["Rohr"]))
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        jobs = [pool.submit(snapshot, cli, program, work, out, i, room, choices[(i * 7) % len(choices)])
                for i, room in enumerate(rooms)]
        for job in jobs:
            job.result()
    shutil.rmtree(work)
    print(f"{len(rooms)} projects, {len(choices)} choices, {len(list(out.iterdir()))} files in {out}")


if __name__ == "__main__":
    main()
