#!/usr/bin/env python3
"""Line and branch coverage of src/ by every test: builds an instrumented copy in build-coverage/, runs ctest,
reads GCC's counters with gcovr and prints the figures per folder, in total, and the least-covered functions.
Prints figures and never fails."""

import json
import os
import shutil
import subprocess
import sys
from collections import defaultdict
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = ROOT / "build-coverage"
LINE_TARGET, BRANCH_TARGET = 95.0, 85.0


def run(*command, **kwargs):
    print("+ " + " ".join(str(c) for c in command), flush=True)
    return subprocess.run([str(c) for c in command], **kwargs)


def percent(hit, total):
    return 100.0 * hit / total if total else 100.0


def function_ranges(entry):
    """Each function of a file with the lines it spans: from its first line to the next function's."""
    starts = sorted((f["lineno"], f["name"]) for f in entry.get("functions", []))
    ranges = []
    for i, (line, name) in enumerate(starts):
        end = starts[i + 1][0] if i + 1 < len(starts) else 1 << 30
        ranges.append((name, line, end))
    return ranges


def main():
    jobs = str(os.cpu_count() or 2)
    generator = ["-G", "Ninja"] if shutil.which("ninja") else []
    flags = "-O0 -g --coverage -fprofile-update=atomic"
    if run("cmake", "-S", ROOT, "-B", BUILD, *generator, "-DCMAKE_BUILD_TYPE=Coverage",
           "-DCMAKE_CXX_FLAGS_COVERAGE=" + flags, "-DCMAKE_EXE_LINKER_FLAGS_COVERAGE=--coverage",
           stdout=subprocess.DEVNULL).returncode != 0:
        print("coverage: not measured (the instrumented copy does not configure)")
        return 0
    if run("cmake", "--build", BUILD, "-j", jobs).returncode != 0:
        print("coverage: not measured (the instrumented copy does not build)")
        return 0
    for stale in BUILD.rglob("*.gcda"):
        stale.unlink()
    tests = run("ctest", "-j", jobs, cwd=BUILD, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    print("\n".join(tests.stdout.strip().split("\n")[-3:]))

    report = BUILD / "coverage.json"
    if run("gcovr", "--root", ROOT, "--object-directory", BUILD, "--filter", str(ROOT / "src") + "/",
           "--exclude-throw-branches", "--exclude-unreachable-branches", "-j", jobs,
           "--json", report, stdout=subprocess.DEVNULL).returncode != 0:
        print("coverage: not measured (gcovr failed)")
        return 0
    data = json.loads(report.read_text())

    folders = defaultdict(lambda: [0, 0, 0, 0])  # lines hit, lines, branches taken, branches
    functions = []
    for entry in data["files"]:
        path = entry["file"]
        folder = str(Path(path).parent)
        folder = "src/main.cpp" if folder == "src" else folder
        lines = [l for l in entry["lines"] if not l.get("gcovr/noncode")]
        tally = folders[folder]
        for l in lines:
            tally[0] += l["count"] > 0
            tally[1] += 1
            for b in l.get("branches", []):
                tally[2] += b["count"] > 0
                tally[3] += 1
        for name, first, end in function_ranges(entry):
            own = [l for l in lines if first <= l["line_number"] < end]
            if own:
                hit = sum(l["count"] > 0 for l in own)
                functions.append((percent(hit, len(own)), len(own) - hit, len(own), name, path, first))

    print("\n%-17s %17s %19s" % ("folder", "lines", "branches"))
    total = [0, 0, 0, 0]
    for folder in sorted(folders):
        t = folders[folder]
        total = [a + b for a, b in zip(total, t)]
        print("%-17s %6.1f %% %5d/%-5d %6.1f %% %5d/%-5d" % (folder, percent(t[0], t[1]), t[0], t[1],
                                                           percent(t[2], t[3]), t[2], t[3]))
    line_total, branch_total = percent(total[0], total[1]), percent(total[2], total[3])
    print("%-17s %6.1f %% %5d/%-5d %6.1f %% %5d/%-5d" % ("total", line_total, total[0], total[1],
                                                       branch_total, total[2], total[3]))
    print("targets: %.0f %% of lines (%s), %.0f %% of branches (%s)" % (
        LINE_TARGET, "met" if line_total >= LINE_TARGET else "not met",
        BRANCH_TARGET, "met" if branch_total >= BRANCH_TARGET else "not met"))

    print("\nleast-covered functions:")
    functions.sort(key=lambda f: (f[0], -f[1]))
    for cover, missed, count, name, path, first in functions[:10]:
        print("%6.1f %%  %3d of %3d lines missed  %s:%d  %s" % (cover, missed, count, path, first, name))
    return 0


if __name__ == "__main__":
    sys.exit(main())
