#!/usr/bin/env python3
"""Runs every example headless from its answer script through the solver and
the result pictures, and collects the files in a gallery folder: the
PostScript pictures with their PDF conversions (ps2pdf), the bitmaps with
their PNG copies (tambri --png). Prints one line per example with its key
result beside the analytic value.

    scripts/demo.py BUILD_DIR GALLERY_DIR
"""
import math
import shutil
import struct
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
EXAMPLES = ROOT / "examples"

# The key result of each example: the path integral's answers at
# RESULTS\TABELLE> and what the program's value is compared with.
KEY_RESULTS = {
    "kondensa": ("Q", ["0.05001 -1", "0.05001 1"],
                 "no closed form (the field fringes); parallel plates without fringing: 5.316E-09 As/m"),
    "platte": ("Q", ["0.00101 -1", "0.00101 1"], "analytic eps0 w U / (d1/eps1 + d2/eps2) = 6.5227E-09 As/m"),
    "koax": ("Q", ["0.00501 0.00501", "0.01501 0.01501"],
             "analytic 2 pi eps U / ln(b/a) = 9.0353E-09 As/m (staircase circles and corner boxes: -2.7 %)"),
    "mstrip": ("Q", ["0.00891 -1", "0.00891 1"], "no closed form in a box; open-microstrip estimate 1.198E-08 As/m"),
    "kerbe": ("I", ["-1 0.02001", "1 0.02001"], "bounds 1250 <= I' <= 2272.7 A/m; without the notch 2500 A/m"),
    "rund": ("F", ["0.01001 0.01301", "0.01001 0.01801"], "analytic (mu0 I / 2 pi) ln(r2/r1) = -2.5229E-06 Vs/m"),
    "nut": ("F", ["0.01 -1", "0.01 1"], "no closed form for the flux; the slot field's slope is checked in VALIDATION.md"),
}

# Letters of each field problem: the field-strength magnitude, the flux
# density arrows and the potential.
LETTERS = {1: ("E", "E", "P"), 2: ("E", "S", "P"), 3: ("H", "B", "V")}


def read_structure(path):
    """Problem code and grid lines of a structure file (its framed records)."""
    data = path.read_bytes()
    records, at = [], 1
    while at < len(data) and len(records) < 4:
        record = b""
        while True:
            length = data[at]
            size = 128 if length == 0x81 else length
            record += data[at + 1:at + 1 + size]
            at += size + 2
            if length != 0x81:
                break
        records.append(record)
    problem, nx, ny = struct.unpack_from("<iii", records[1])
    x = struct.unpack_from("<%dd" % nx, records[2])
    y = struct.unpack_from("<%dd" % ny, records[3])
    return problem, x, y


def picture_answers(problem, x, y):
    """RESULTS answers that draw the five pictures with files on."""
    strength, flux, potential = LETTERS[problem]
    lx, ly = x[-1] - x[0], y[-1] - y[0]
    ask_full = abs(lx - ly) > 9.999999747378752e-06
    full = ["Y"] if ask_full else []
    thin = ["N"] if (len(x) - 1) // 20 > 1 or (len(y) - 1) // 20 > 1 else []
    middle = x[len(x) // 2]
    return (["AP", "B", "X"] +
            ["C" + strength, "N"] + full + ["", "X"] +
            ["I" + potential, "N"] + full + ["N", "N", "Y", "N", "N", ""] + ["X"] +
            ["G" + potential, "N", "N", "Y", "", "X"] +
            ["P" + flux, "N"] + full + thin + ["N", "", "X"] +
            ["S" + strength, "y", "%.6g" % middle, "N", "N", "", "X"])


def session(name, problem, x, y):
    script = (EXAMPLES / (name + ".txt")).read_text().splitlines()[:-2]  # up to the start question
    key, corners, _ = KEY_RESULTS[name]
    return script + ["Y", "R"] + picture_answers(problem, x, y) + ["T" + key] + corners + ["", "X", "X", "X"]


def main():
    build, gallery = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    tambri = build / "src" / "tambri"
    if gallery.exists():
        shutil.rmtree(gallery)
    gallery.mkdir(parents=True)
    ps2pdf = shutil.which("ps2pdf")
    failures = 0
    for script in sorted(EXAMPLES.glob("*.txt")):
        name = script.stem
        if name not in KEY_RESULTS:
            continue
        problem, x, y = read_structure(EXAMPLES / (name + ".dat"))
        folder = gallery / name
        folder.mkdir()
        answers = "\n".join(session(name, problem, x, y)) + "\n"
        run = subprocess.run([str(tambri), "--headless", "--png"], input=answers.encode(), cwd=folder,
                             capture_output=True)
        screen = run.stdout.decode("utf-8", "replace")
        (folder / "session.txt").write_text(screen)
        if ps2pdf:
            for ps in sorted(folder.glob("*.ps")):
                subprocess.run([ps2pdf, ps.name, ps.with_suffix(".pdf").name], cwd=folder, check=False)
        result = [line.strip() for line in screen.splitlines() if "' =" in line]
        pictures = len(list(folder.glob("*.ps")))
        ok = run.returncode == 0 and result and pictures == 5
        failures += not ok
        print("%-9s %-26s %s  [%d pictures%s]" % (name, result[0] if result else "(no result)",
                                                 KEY_RESULTS[name][2], pictures, "" if ok else ", FAILED"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
