#!/usr/bin/env python3
"""Mutation check: how many small realistic faults in the code that guards users' files do the
unit tests notice?

It finds every place in the guarded sources where one operator applies (a comparison or a
boundary flipped, a "+ 1" or "- 1" dropped, an if's condition negated, a call statement removed,
a returned code swapped), draws a seeded sample of them, and for each one writes the fault into
the source, rebuilds the headless unit tests incrementally, runs them, and puts the source back.
A mutant that some test fails on is killed; one that does not build is not counted; one named
in tools/mutants-equivalent.txt (it cannot change behaviour) is skipped. It prints each
survivor and, last, the kill rate. Lines only Windows compiles are left out: the Linux build
the tests run never sees them. A tool to run by hand, not part of CI: a hundred mutants take
about half an hour on two cores.

    tools/mutants.py                      # 100 mutants, seed 1
    tools/mutants.py --sample 30 --seed 7
    tools/mutants.py --list               # every place and operator, nothing built
    tools/mutants.py --only src/support/strutil.cpp:42
    tools/mutants.py --killers            # also name the tests that fail on each mutant
    tools/mutants.py --under src/player --sample 1000   # every mutant of one folder or file

With --killers every test program runs on every mutant, so the run is slower; a test that is
the only one to kill some mutant is one the suite cannot lose.
"""

import argparse
import os
import random
import re
import resource
import shutil
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
GUARDED = ["src/player", "src/support", "src/settings", "src/editor", "src/list", "src/cli",
           "src/resources", "src/app/filecommands.cpp", "src/app/folderchanges.cpp",
           "src/app/listintegration.cpp"]
EQUIVALENTS = ROOT / "tools" / "mutants-equivalent.txt"

COMPARISONS = {" < ": " <= ", " <= ": " < ", " > ": " >= ", " >= ": " > ", " == ": " != ",
               " != ": " == "}
RETURNS = {"return true;": "return false;", "return false;": "return true;",
           "return 0;": "return -1;", "return -1;": "return 0;", "return 1;": "return 0;"}
# A statement that is only a call: f(...); a.f(...); p->f(...); ns::f(...);
CALL_STATEMENT = re.compile(r"^(\s*)(?:[A-Za-z_][\w:]*(?:\.|->))*[A-Za-z_][\w:]*\(.*\);\s*$")
NOT_CALLS = {"return", "if", "while", "for", "switch", "sizeof", "static_assert", "assert",
             "throw", "delete", "case"}


@dataclass
class Mutant:
    path: str  # relative to the root
    line: int  # 1-based
    operator: str
    before: str  # the whole line as it stands
    after: str  # the whole line as the mutant has it
    nth: int = 0  # where its file has the same mutant on other lines too: which one, from 1

    def key(self):
        key = f"{self.path} | {self.before.strip()} | {self.after.strip()}"
        return f"{key} | #{self.nth}" if self.nth else key

    def where(self):
        return f"{self.path}:{self.line} [{self.operator}] {self.before.strip()}  =>  " \
               f"{self.after.strip()}"


def strip_strings(line):
    """The line with string and character literals blanked, so operators inside them are not
    taken for code; the columns stay where they were."""
    return re.sub(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'', lambda m: " " * len(m.group()), line)


def matching_paren(text, open_at):
    depth = 0
    for i in range(open_at, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def mutants_of_line(path, number, line):
    code = strip_strings(line)
    stripped = code.strip()
    if not stripped or stripped.startswith(("//", "#", "*", "/*")):
        return
    comment = code.find("//")
    if comment >= 0:
        code = code[:comment]
    for op, swap in COMPARISONS.items():
        start = 0
        while (at := code.find(op, start)) >= 0:
            yield Mutant(path, number, "comparison", line, line[:at] + swap + line[at + len(op):])
            start = at + len(op)
    for op in (" + 1", " - 1"):
        start = 0
        while (at := code.find(op, start)) >= 0:
            end = at + len(op)
            # Only the literal 1, not 10 or 1.5.
            if end == len(code) or not (code[end].isalnum() or code[end] in "._"):
                yield Mutant(path, number, "off-by-one", line, line[:at] + line[end:])
            start = end
    for m in re.finditer(r"\b(if|while) \(", code):
        open_at = m.end() - 1
        close = matching_paren(code, open_at)
        if close > 0:
            condition = line[open_at + 1:close]
            yield Mutant(path, number, "negation", line,
                         line[:open_at + 1] + "!(" + condition + ")" + line[close:])
    for ret, swap in RETURNS.items():
        if stripped == ret:
            yield Mutant(path, number, "return code", line, line.replace(ret, swap))
    call = CALL_STATEMENT.match(code)
    if call and "=" not in code.split("(")[0]:
        first = stripped.split("(")[0].split(".")[0].split("->")[0]
        # The trace log is compiled out of every build the tests run.
        if first not in NOT_CALLS and first != "trace":
            yield Mutant(path, number, "removed call", line, call.group(1) + ";\n")


def guarded_sources():
    for entry in GUARDED:
        p = ROOT / entry
        for f in sorted([p] if p.is_file() else p.rglob("*.cpp")):
            yield f


WINDOWS_ONLY = {"#ifdef _WIN32": True, "#ifndef _WIN32": False}


def all_mutants():
    found = []
    for f in guarded_sources():
        rel = str(f.relative_to(ROOT))
        in_block_comment = False
        # One entry per open #if: True while in a branch only Windows compiles, False in the
        # other branch of a _WIN32 test, None for any other condition.
        branches = []
        for number, line in enumerate(f.read_text(encoding="latin-1").splitlines(True), 1):
            s = line.strip()
            if in_block_comment:
                in_block_comment = "*/" not in s
                continue
            if s.startswith("/*") and "*/" not in s:
                in_block_comment = True
                continue
            directive = " ".join(s.split("//")[0].split())
            if directive.startswith("#if"):
                branches.append(WINDOWS_ONLY.get(directive))
            elif directive.startswith("#el") and branches:
                branches[-1] = (not branches[-1]) if directive == "#else" and \
                    branches[-1] is not None else None
            elif directive.startswith("#endif") and branches:
                branches.pop()
            elif True not in branches:
                found.extend(mutants_of_line(rel, number, line))
    # A line repeated in its file gives one key for several places: numbered, an equivalent
    # names the one it means and leaves the others counted.
    same = {}
    for m in found:
        same.setdefault(m.key(), []).append(m)
    for group in same.values():
        for n, m in enumerate(group if len(group) > 1 else [], 1):
            m.nth = n
    return found


def equivalent_keys():
    keys = {}
    if EQUIVALENTS.exists():
        for raw in EQUIVALENTS.read_text().splitlines():
            if raw.strip() and not raw.startswith("#"):
                key, _, reason = raw.rpartition(" # ")
                keys[key.strip()] = reason.strip()
    return keys


# A mutant can make a write loop for ever: no test file may grow past this, and the temporary
# folders of the tests are wiped after each program, even one killed for taking too long.
TEST_FILE_LIMIT = 256 << 20


def limit_file_size():
    resource.setrlimit(resource.RLIMIT_FSIZE, (TEST_FILE_LIMIT, resource.RLIM_INFINITY))


def run(cmd, cwd, timeout):
    try:
        return subprocess.run(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


class Suite:
    """The headless unit-test programs of one build tree, built incrementally."""

    def __init__(self, build, jobs):
        self.build = build.resolve()
        self.jobs = jobs
        self.build.mkdir(parents=True, exist_ok=True)
        subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja",
                        "-DCMAKE_BUILD_TYPE=Debug", "-DDROVAK_GUI=OFF", "-DDROVAK_TESTS=ON",
                        "-DDROVAK_BENCH=OFF", "-DDROVAK_SANITIZE=OFF"],
                       check=True, stdout=subprocess.DEVNULL)
        targets = subprocess.run(["ninja", "-C", str(build), "-t", "targets", "all"],
                                 check=True, capture_output=True, text=True).stdout
        self.programs = sorted({t.split(":")[0] for t in targets.splitlines()
                                if re.match(r"tests/\w+/\w+_tests:", t)})
        if not self.programs:
            sys.exit("no unit-test programs in " + str(build))

    def builds(self):
        # Test discovery runs after each link; it is not needed here, and it is slow.
        return run(["ninja", "-C", str(self.build), f"-j{self.jobs}", *self.programs],
                   ROOT, 1200) == 0

    def run_program(self, program):
        """One test program's run, its output kept; None when it took too long. It gets a
        temporary folder of its own, emptied first, and the file size limit."""
        exe = self.build / program
        tmp = self.build / "mutant-tmp"
        shutil.rmtree(tmp, ignore_errors=True)
        tmp.mkdir()
        try:
            return subprocess.run([str(exe), "--gtest_brief=1"], cwd=exe.parent, text=True,
                                  capture_output=True, errors="replace", timeout=300,
                                  env=dict(os.environ, TMPDIR=str(tmp)),
                                  preexec_fn=limit_file_size)
        except subprocess.TimeoutExpired:
            return None

    def passes(self):
        for program in self.programs:
            out = self.run_program(program)
            if out is None or out.returncode != 0:
                return False
        return True

    def failing_tests(self):
        """Every test that fails, as Suite.Name; a program that dies or hangs counts as one."""
        failed = []
        for program in self.programs:
            out = self.run_program(program)
            if out is None:
                failed.append(Path(program).name + " (hung)")
                continue
            names = re.findall(r"^\[  FAILED  \] ([\w/.]+)", out.stdout, re.M)
            failed.extend(dict.fromkeys(names))
            if out.returncode != 0 and not names:
                failed.append(Path(program).name + " (exit %d)" % out.returncode)
        return failed


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--sample", type=int, default=100)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--build", default=str(ROOT / "build" / "mutants"))
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--list", action="store_true", help="print every mutant and stop")
    parser.add_argument("--under", action="append", default=[],
                        help="only the mutants of this folder or file (repeatable)")
    parser.add_argument("--killers", action="store_true",
                        help="run every test on every mutant and name those that fail")
    parser.add_argument("--only", action="append", default=[],
                        help="path:line; only the mutants of that line (repeatable)")
    args = parser.parse_args()

    mutants = [m for m in all_mutants()
               if not args.under or any(m.path == u.rstrip("/") or m.path.startswith(
                   u.rstrip("/") + "/") for u in args.under)]
    if args.list:
        for m in mutants:
            print(m.where())
        print(f"{len(mutants)} mutants")
        return 0
    equivalent = equivalent_keys()
    if args.only:
        chosen = [m for m in mutants if f"{m.path}:{m.line}" in args.only]
    else:
        candidates = [m for m in mutants if m.key() not in equivalent]
        chosen = random.Random(args.seed).sample(candidates, min(args.sample, len(candidates)))
        chosen.sort(key=lambda m: (m.path, m.line))

    suite = Suite(Path(args.build), args.jobs)
    if not suite.builds() or not suite.passes():
        sys.exit("the unit tests do not pass on the code as it stands; nothing to measure")

    killed, survivors, stillborn, skipped = 0, [], 0, 0
    started = time.monotonic()
    for n, m in enumerate(chosen, 1):
        if m.key() in equivalent:
            skipped += 1
            print(f"[{n}/{len(chosen)}] equivalent {m.where()}", flush=True)
            continue
        source = ROOT / m.path
        original = source.read_bytes()
        lines = original.decode("latin-1").splitlines(True)
        lines[m.line - 1] = m.after
        try:
            source.write_bytes("".join(lines).encode("latin-1"))
            failing = []
            if not suite.builds():
                stillborn += 1
                verdict = "does not build"
            elif (failing := suite.failing_tests()) if args.killers else not suite.passes():
                killed += 1
                verdict = "killed"
            else:
                survivors.append(m)
                verdict = "SURVIVED"
        finally:
            source.write_bytes(original)
        print(f"[{n}/{len(chosen)}] {verdict}: {m.where()}", flush=True)
        if failing:
            print("    by " + " ".join(failing), flush=True)
    suite.builds()  # leave the tree built as the code stands
    shutil.rmtree(suite.build / "mutant-tmp", ignore_errors=True)

    counted = killed + len(survivors)
    minutes = (time.monotonic() - started) / 60
    print()
    for m in survivors:
        print("survivor: " + m.where())
        print("    (if it cannot change behaviour, add to the equivalents: " + m.key() + " # why)")
    print(f"{len(chosen)} mutants (seed {args.seed}) in {minutes:.0f} min: {stillborn} did not "
          f"build, {skipped} equivalent")
    rate = 100.0 * killed / counted if counted else 0.0
    print(f"killed {killed} of {counted}: {rate:.0f}%")
    return 0 if not survivors else 1


if __name__ == "__main__":
    sys.exit(main())
