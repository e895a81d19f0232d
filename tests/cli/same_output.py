#!/usr/bin/env python3
"""End-to-end test of the Windows build: runs the same conversions with the
Linux belvaron-cli and with belvaron-cli.exe under Wine, each in a fresh
folder, and compares every file written byte for byte, the exit status, and
standard output and standard error as text (the console's line ends, CR LF
on Windows, read as LF, and '\\' in paths as '/'). Every DATEV-Format (CSV)
batch either program writes must pass DATEV_RULES_CHECK
(tests/support/datev_rules_check, the rules of the core's tests).

Usage: same_output.py LINUX_CLI WINDOWS_EXE WINE SOURCE_DIR DATEV_RULES_CHECK
"""
import os
import shutil
import subprocess
import sys
import tempfile

LINUX_CLI, WINDOWS_EXE, WINE, SOURCE, RULES_CHECK = (os.path.abspath(a) if os.sep in a else a
                                                     for a in sys.argv[1:6])
EXAMPLES = os.path.join(SOURCE, "examples")

# Each case: the files to place (target name -> source), then the arguments.
CASES = {
    "example": (
        {"journal.txt": "journal.txt", "mwst.txt": "mwst.txt",
         "data/angaben_datev.txt": "angaben_datev.txt"},
        ["--journal", "journal.txt", "--vat-report", "mwst.txt", "--data-dir", "data",
         "--replace", "--check", "SK3_DATEV.kon", "--delete-zero", "--datev", "out/ED00001",
         "--lexware", "out/buchhalter.txt", "--list"]),
    "postversand": (
        {"journal.txt": "journal.txt", "mwst.txt": "mwst.txt",
         "data/angaben_datev.txt": "angaben_datev.txt"},
        ["--journal", "journal.txt", "--vat-report", "mwst.txt", "--data-dir", "data",
         "--replace", "--delete-zero", "--datev-format", "postversand",
         "--datev", "out/ED00001"]),
    # Names beyond ASCII reach the file system unchanged (UTF-8 arguments,
    # wide file calls on Windows).
    "umlaut_paths": (
        {"Jänner 2025/Journal März.txt": "journal.txt",
         "Jänner 2025/Daten ö/angaben_datev.txt": "angaben_datev.txt"},
        ["--journal", "Jänner 2025/Journal März.txt", "--data-dir", "Jänner 2025/Daten ö",
         "--datev", "Jänner 2025/Ausgabe ü/ED00001", "--lexware",
         "Jänner 2025/Ausgabe ü/buchhalter ß.txt"]),
    "version": ({}, ["--version"]),
    "usage_error": ({}, ["--unknown-option"]),
}


def prepare(folder, files):
    for target, source in files.items():
        path = os.path.join(folder, target)
        os.makedirs(os.path.dirname(path) or folder, exist_ok=True)
        shutil.copyfile(os.path.join(EXAMPLES, source), path)
    os.makedirs(os.path.join(folder, "out"), exist_ok=True)
    os.makedirs(os.path.join(folder, "Jänner 2025", "Ausgabe ü"), exist_ok=True)


def run(command, folder, args):
    env = dict(os.environ, LC_ALL="C.UTF-8", TZ="UTC", SOURCE_DATE_EPOCH="1700000000",
               HOME=folder, WINEDEBUG="-all")
    p = subprocess.run([*command, *args], cwd=folder, capture_output=True, env=env, timeout=300)
    # Messages name full paths: the run's folder (Wine shows it on drive Z:)
    # stands for itself.
    stderr = p.stderr.replace(b"\r\n", b"\n").replace(b"\\", b"/")
    here = folder.encode()
    stderr = stderr.replace(b"Z:" + here, b"<folder>").replace(here, b"<folder>")
    return (p.returncode, p.stdout.replace(b"\r\n", b"\n"), stderr)


def files_of(folder):
    found = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                found[os.path.relpath(path, folder)] = f.read()
    return found


def datev_rule_problems(folder):
    """The number of CSV batches in `folder` and their broken DATEV rules,
    one line each."""
    batches = [os.path.join(root, name) for root, _, names in os.walk(folder)
               for name in names if name.startswith("EXTF_") and name.endswith(".csv")]
    if not batches:
        return 0, []
    p = subprocess.run([RULES_CHECK, *sorted(batches)], capture_output=True, timeout=60)
    lines = (p.stdout + p.stderr).decode("utf-8", "replace").replace(folder, "<folder>")
    problems = lines.splitlines()
    if p.returncode != 0 and not problems:
        problems.append(f"datev_rules_check ended with {p.returncode}")
    return len(batches), problems


def main():
    failures = 0
    for case, (files, args) in CASES.items():
        results = []
        with tempfile.TemporaryDirectory() as linux, tempfile.TemporaryDirectory() as windows:
            problems = []
            for folder, command in ((linux, [LINUX_CLI]), (windows, [WINE, WINDOWS_EXE])):
                prepare(folder, files)
                results.append((run(command, folder, args), files_of(folder)))
                side = "Linux" if folder == linux else "Windows"
                batches, broken = datev_rule_problems(folder)
                problems += [f"{side} DATEV rules: {p}" for p in broken]
        (linux_run, linux_files), (windows_run, windows_files) = results
        for what, a, b in zip(("exit status", "standard output", "standard error"),
                              linux_run, windows_run):
            if a != b:
                problems.append(f"{what}: Linux {a!r:.400}\n  Windows {b!r:.400}")
        for name in sorted(set(linux_files) | set(windows_files)):
            if linux_files.get(name) != windows_files.get(name):
                state = ("missing on Windows" if name not in windows_files else
                         "missing on Linux" if name not in linux_files else "differs")
                problems.append(f"file {name}: {state}")
        written = len(linux_files) - len(files)
        if problems:
            failures += 1
            print(f"FAIL {case}")
            for problem in problems:
                print("  " + problem)
        else:
            print(f"ok   {case} (exit {linux_run[0]}, {written} files written, all identical, "
                  f"{batches} CSV batches within the DATEV rules)")
    print(f"{len(CASES) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
