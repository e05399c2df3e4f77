#!/usr/bin/env python3
"""Mutation runner: puts one small fault at a time into a copy of the game's sources, rebuilds the test
programs incrementally and runs them. A mutant is killed when a test fails (or hangs), survives when every
test passes, and does not count when it does not compile or is listed as equivalent.

    tools/mutants/mutants.py [--n 60] [--seed 1] [--folders src/reels,src/lottery] [--time-limit MIN]
"""

import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
HERE = Path(__file__).resolve().parent
# Every folder of src/, so that a new one is sampled without a word.
DEFAULT_FOLDERS = ",".join(sorted("src/" + d.name for d in (ROOT / "src").iterdir() if d.is_dir()))
# What the copy needs to configure and build the test programs.
COPIED = ["CMakeLists.txt", "src", "tests", "tools", "bench"]


@dataclass
class Mutant:
    path: str            # relative to the repository
    line: int            # 1-based
    kind: str
    before: str          # the whole line, unchanged
    after: str           # the whole line, mutated
    status: str = ""
    detail: str = ""
    seconds: float = 0.0

    def key(self):
        return (self.path, self.before.strip(), self.after.strip())

    def folder(self):
        return str(Path(self.path).parent)


# --- finding mutants ------------------------------------------------------------------------------------------

def mask_code(text):
    """The text with comments and string and character literals blanked out, same length and line breaks,
    so that operators are only ever found in code."""
    out = list(text)
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            for k in range(i, j):
                out[k] = " "
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            for k in range(i, j):
                if out[k] != "\n":
                    out[k] = " "
            i = j
        elif text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            end = text.find(")" + (m.group(1) if m else "") + '"', i)
            j = n if end < 0 else end + len(m.group(1) if m else "") + 2
            for k in range(i, j):
                if out[k] != "\n":
                    out[k] = " "
            i = j
        elif c in "\"'":
            if c == "'" and i > 0 and text[i - 1].isdigit():  # digit separator
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            for k in range(i + 1, j - 1):
                out[k] = " "
            i = j
        else:
            i += 1
    return "".join(out)


COMPARISONS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
RE_COMPARISON = re.compile(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)")
RE_LOGICAL = re.compile(r"(?<=\s)(&&|\|\|)(?=\s)")
RE_BOOL = re.compile(r"\b(true|false)\b")
RE_INT = re.compile(r"(?<![\w.'])(\d+)(?![\w.'])")
NOT_STATEMENTS = re.compile(
    r"^(return|break|continue|using|namespace|typedef|struct|class|enum|case|default|static_assert|extern|"
    r"template|friend|public|private|protected|if|else|for|while|do|switch|const|constexpr|static|auto|inline|"
    r"void|bool|int|double|float|char|unsigned|long|short)\b")
# A declaration: a type, then a name, then its initialiser or end.
DECLARATION = re.compile(r"^[A-Za-z_][\w:<>,]*(\s*[*&])?\s+[*&]?[A-Za-z_]\w*\s*(=|\{|;|\[|\()")


def split_top(items):
    """Splits a brace list's contents at its top-level commas: [(start, end)] of each item."""
    parts, depth, start = [], 0, 0
    for i, c in enumerate(items):
        if c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
        elif c == "," and depth == 0:
            parts.append((start, i))
            start = i + 1
    parts.append((start, len(items)))
    return [(a, b) for a, b in parts if items[a:b].strip()]


def drop_item(line, lo, hi, parts, k):
    """The line with item k of the list line[lo:hi] removed, with its comma."""
    a, b = parts[k]
    if k + 1 < len(parts):
        cut_from, cut_to = lo + a, lo + parts[k + 1][0]
    else:
        prev_end = parts[k - 1][1]
        cut_from, cut_to = lo + prev_end, lo + b
    return line[:cut_from] + line[cut_to:]


def design_lines(masked):
    """Lines of a screen's Design(): its design-time look (caption places, sizes, fonts, colours). A one-pixel or
    one-point change there is judged by eye on the running screen, not pinned by a test, so no mutant is made."""
    skipped, inside = set(), False
    for i, code in enumerate(masked):
        if re.match(r"^void \w+::Design\(\) \{", code):
            inside = True
        elif inside and code.startswith("}"):
            inside = False
        elif inside:
            skipped.add(i)
    return skipped


def line_mutants(path, lines, masked):
    found = []
    design = design_lines(masked)

    def add(i, kind, after):
        if after != lines[i]:
            found.append(Mutant(path, i + 1, kind, lines[i], after))

    depth_in_init = 0  # > 0 inside a brace initialiser spread over lines
    for i, (line, code) in enumerate(zip(lines, masked)):
        stripped = code.strip()
        if not stripped or stripped.startswith("#") or "static_assert" in stripped or i in design:
            continue
        for m in RE_COMPARISON.finditer(code):
            add(i, "comparison", line[:m.start()] + COMPARISONS[m.group(1)] + line[m.end():])
        for m in RE_LOGICAL.finditer(code):
            swapped = "||" if m.group(1) == "&&" else "&&"
            add(i, "logical", line[:m.start()] + swapped + line[m.end():])
        for m in RE_BOOL.finditer(code):
            swapped = "false" if m.group(1) == "true" else "true"
            add(i, "boolean", line[:m.start()] + swapped + line[m.end():])
        for m in RE_INT.finditer(code):
            value = int(m.group(1))
            for shifted in (value + 1, value - 1):
                if shifted >= 0:
                    add(i, "constant", line[:m.start()] + str(shifted) + line[m.end():])
        # One entry of a brace list on this line.
        for m in re.finditer(r"\{([^{}]*)\}", code):
            inner = m.group(1)
            before = code[:m.start()].rstrip()
            typed = m.start() > 0 and (code[m.start() - 1].isalnum() or code[m.start() - 1] == "_")
            if ";" in inner or typed or before.endswith((")", "]", "const")) or re.search(r"\benum\b", before):
                continue
            parts = split_top(inner)
            if len(parts) >= 2:
                for k in range(len(parts)):
                    add(i, "table entry", drop_item(line, m.start(1), m.end(1), parts, k))
        # A whole row of a table spread over lines.
        if re.fullmatch(r"\{.*\},?", stripped) and i > 0 and masked[i - 1].strip().endswith((",", "{")):
            if stripped.count("{") == stripped.count("}") and ";" not in stripped:
                add(i, "table row", "")
        # A statement: a whole line that is one expression ending in ';', after a complete line.
        previous = next((p.strip() for p in reversed(masked[:i]) if p.strip()), "")
        if (stripped.endswith(";") and previous.endswith((";", "{", "}", ":")) and not NOT_STATEMENTS.match(stripped)
                and not DECLARATION.match(stripped) and stripped.count("(") == stripped.count(")")
                and not stripped.startswith(("}", ")", "{"))):
            indent = line[:len(line) - len(line.lstrip())]
            add(i, "statement", indent + ";")
    return found


def find_mutants(folders):
    mutants = []
    for folder in folders:
        for file in sorted((ROOT / folder).rglob("*")):
            if file.suffix not in (".cpp", ".h") or not file.is_file():
                continue
            text = file.read_text(encoding="utf-8")
            lines = text.split("\n")
            masked = mask_code(text).split("\n")
            mutants += line_mutants(str(file.relative_to(ROOT)), lines, masked)
    return mutants


def read_listed(name):
    """tools/mutants/equivalent.txt (mutants that change nothing) or unreachable.txt (mutants only input the game
    never writes could reach): blocks of 'path:line', '- before', '+ after', '# reason'."""
    known, file = {}, HERE / name
    if not file.exists():
        return known
    entry = {}
    for raw in file.read_text(encoding="utf-8").split("\n"):
        if raw.startswith("- "):
            entry["before"] = raw[2:].strip()
        elif raw.startswith("+ "):
            entry["after"] = raw[2:].strip()
        elif raw.startswith("+") and raw.strip() == "+":
            entry["after"] = ""
        elif raw.startswith("# ") and "path" in entry:
            entry["reason"] = raw[2:].strip()
            known[(entry["path"], entry.get("before", ""), entry.get("after", ""))] = entry["reason"]
            entry = {}
        elif re.match(r"^src/\S+:\d+$", raw.strip()):
            entry = {"path": raw.strip().rsplit(":", 1)[0]}
    return known


# --- building and testing -------------------------------------------------------------------------------------

def sync_copy(tree):
    """Brings the copy up to date with the repository, rewriting only files that differ."""
    wanted = set()
    for name in COPIED:
        source = ROOT / name
        if source.is_file():
            files = [source]
        else:
            files = [f for f in source.rglob("*") if f.is_file() and "__pycache__" not in f.parts]
        for f in files:
            rel = f.relative_to(ROOT)
            wanted.add(rel)
            target = tree / rel
            if not target.exists() or target.read_bytes() != f.read_bytes():
                target.parent.mkdir(parents=True, exist_ok=True)
                shutil.copyfile(f, target)
    for name in COPIED:
        base = tree / name
        if base.is_dir():
            for f in base.rglob("*"):
                if f.is_file() and f.relative_to(tree) not in wanted:
                    f.unlink()


def test_programs():
    """One per folder of tests/ (the harness is a library) and one per tool under tests/tools."""
    tests = ROOT / "tests"
    folders = [d for d in tests.iterdir() if d.is_dir() and d.name not in ("harness", "tools")]
    folders += [d for d in (tests / "tools").iterdir() if d.is_dir()]
    return sorted("test_" + d.name for d in folders if any(d.rglob("*.cpp")))


def configure(tree, build):
    generator = ["-G", "Ninja"] if shutil.which("ninja") else []
    subprocess.run(["cmake", "-S", str(tree), "-B", str(build), *generator, "-DCMAKE_BUILD_TYPE=Mutants",
                    "-DCMAKE_CXX_FLAGS_MUTANTS=-O1", "-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST"],
                   check=True, stdout=subprocess.DEVNULL)


def build_tests(build, programs, jobs):
    result = subprocess.run(["cmake", "--build", str(build), "-j", str(jobs), "--target", *programs],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return result.returncode == 0, result.stdout


def run_program(build, program, timeout):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", SDL_AUDIODRIVER="dummy")
    # In a session of its own, so that a program that hangs goes with every process it forked (the simulator's
    # workers), not only itself.
    proc = subprocess.Popen([str(build / program), "--gtest_fail_fast", "--gtest_brief=1"], cwd=build, env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace",
                            start_new_session=True)
    try:
        output, _ = proc.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        proc.communicate()
        return "timeout", ""
    if proc.returncode == 0:
        return "pass", ""
    failed = re.findall(r"\[  FAILED  \] (\S+)", output)
    return "fail", failed[0] if failed else "exit %d" % proc.returncode


# Test programs that look at a source folder most closely, tried first for its mutants.
NEAREST = {"src/lottery": ["test_lottery", "test_reels"], "src/reels": ["test_reels", "test_lottery"]}


def run_mutant(mutant, tree, build, programs, timeouts, jobs):
    """Builds and runs one test program at a time, nearest first, so that a mutant caught early costs one link."""
    file = tree / mutant.path
    original = file.read_text(encoding="utf-8")
    lines = original.split("\n")
    lines[mutant.line - 1] = mutant.after
    file.write_text("\n".join(lines), encoding="utf-8")
    nearest = NEAREST.get(mutant.folder(), ["test_" + Path(mutant.folder()).name])
    order = [p for p in nearest if p in programs] + [p for p in programs if p not in nearest]
    start = time.monotonic()
    try:
        for index, program in enumerate(order):
            ok, _ = build_tests(build, [program], jobs)
            if not ok:
                mutant.status = "not compiling" if index == 0 else "killed"
                mutant.detail = "" if index == 0 else program + " does not build"
                return
            outcome, detail = run_program(build, program, timeouts[program])
            if outcome != "pass":
                mutant.status = "killed"
                mutant.detail = "%s %s" % (program, detail or "(hung)")
                return
        mutant.status = "survived"
    finally:
        file.write_text(original, encoding="utf-8")
        mutant.seconds = time.monotonic() - start


# --- the report -----------------------------------------------------------------------------------------------

def report(mutants, log):
    def say(text=""):
        print(text)
        log.write(text + "\n")

    folders = sorted({m.folder() for m in mutants})
    say("\n%-16s %7s %7s %8s %8s %10s %11s %7s" % ("folder", "killed", "survived", "equiv.", "unreach.",
                                                     "no compile", "not run", "score"))
    totals = {"killed": 0, "survived": 0}
    for folder in folders:
        group = [m for m in mutants if m.folder() == folder]
        count = {s: sum(1 for m in group if m.status == s) for s in
                 ("killed", "survived", "equivalent", "unreachable", "not compiling", "")}
        for s in totals:
            totals[s] += count[s]
        judged = count["killed"] + count["survived"]
        score = "%.0f %%" % (100.0 * count["killed"] / judged) if judged else "-"
        say("%-16s %7d %7d %8d %8d %10d %11d %7s" % (folder, count["killed"], count["survived"], count["equivalent"],
                                                      count["unreachable"], count["not compiling"], count[""], score))
    judged = totals["killed"] + totals["survived"]
    say("%-16s %7d %7d %44s" % ("total", totals["killed"], totals["survived"],
                                "%.1f %%" % (100.0 * totals["killed"] / judged) if judged else "-"))
    survivors = [m for m in mutants if m.status == "survived"]
    if survivors:
        say("\nSurvivors (add a test that tells them apart, or list them in tools/mutants/equivalent.txt or unreachable.txt):")
        for m in survivors:
            say("\n%s:%d (%s)" % (m.path, m.line, m.kind))
            say("- " + m.before.strip())
            say("+ " + m.after.strip())


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--n", type=int, default=60, help="how many mutants to sample (default 60)")
    parser.add_argument("--seed", type=int, default=1, help="the sample's seed (default 1)")
    parser.add_argument("--folders", default=DEFAULT_FOLDERS, help="comma-separated source folders")
    parser.add_argument("--time-limit", type=float, default=0, help="minutes; no new mutant after it (0: none)")
    parser.add_argument("--work", default=str(ROOT / "build-mutants"), help="the runner's own folder")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2, help="parallel compile jobs")
    parser.add_argument("--list", action="store_true", help="print the sampled mutants and stop")
    parser.add_argument("--resume", metavar="LOG", help="an earlier run's output with the same sample: its killed "
                        "and non-compiling mutants are taken over, its survivors and the rest are run again")
    args = parser.parse_args()

    folders = [f.strip().rstrip("/") for f in args.folders.split(",") if f.strip()]
    candidates = find_mutants(folders)
    equivalents = read_listed("equivalent.txt")
    unreachables = read_listed("unreachable.txt")
    sample = random.Random(args.seed).sample(candidates, min(args.n, len(candidates)))
    sample.sort(key=lambda m: (m.path, m.line))
    print("%d possible mutants in %s; %d sampled with seed %d" % (len(candidates), ", ".join(folders),
                                                                  len(sample), args.seed))
    if args.list:
        for m in sample:
            print("%s:%d (%s)\n- %s\n+ %s" % (m.path, m.line, m.kind, m.before.strip(), m.after.strip()))
        return 0

    work = Path(args.work)
    tree, build = work / "tree", work / "build"
    sync_copy(tree)
    configure(tree, build)
    programs = test_programs()
    print("building the unchanged copy ...", flush=True)
    ok, output = build_tests(build, programs, args.jobs)
    if not ok:
        print(output[-3000:])
        print("the unchanged sources do not build")
        return 1
    timeouts = {}
    for program in programs:
        start = time.monotonic()
        outcome, detail = run_program(build, program, 600)
        if outcome != "pass":
            print("%s fails without any mutant (%s): mend it first" % (program, detail))
            return 1
        timeouts[program] = max(10.0, 5 * (time.monotonic() - start))
    # The quickest programs first: most mutants are caught by one of them.
    programs.sort(key=lambda p: timeouts[p])

    earlier = {}
    if args.resume:
        for line in Path(args.resume).read_text(encoding="utf-8", errors="replace").split("\n"):
            found = re.match(r"^\[(\d+)/%d\]\s+\d+ s (killed|not compiling)\s+(\S+):(\d+) (.*?)(  <- (.*))?$"
                             % len(sample), line)
            if found:
                earlier[int(found.group(1))] = (found.group(2), found.group(3), int(found.group(4)), found.group(7))
    deadline = time.monotonic() + args.time_limit * 60 if args.time_limit > 0 else None
    for index, m in enumerate(sample, 1):
        taken = earlier.get(index)
        if m.key() in equivalents:
            m.status, m.detail = "equivalent", equivalents[m.key()]
        elif m.key() in unreachables:
            m.status, m.detail = "unreachable", unreachables[m.key()]
        elif taken and taken[1:3] == (m.path, m.line):
            m.status, m.detail = taken[0], (taken[3] or "") + " (earlier run)"
        elif deadline and time.monotonic() > deadline:
            continue
        else:
            run_mutant(m, tree, build, programs, timeouts, args.jobs)
        print("[%d/%d] %4.0f s %-13s %s:%d %s%s" % (index, len(sample), m.seconds, m.status or "not run", m.path,
                                                     m.line, m.after.strip()[:70],
                                                     "  <- " + m.detail if m.detail else ""), flush=True)
    # Leaves the copy built as it is in the repository.
    build_tests(build, programs, args.jobs)
    with open(work / "report.txt", "w", encoding="utf-8") as log:
        report(sample, log)
    print("\n(report kept in %s)" % (work / "report.txt"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
