#!/usr/bin/env python3
"""End-to-end tests of belvaron-cli: runs the built program on fixtures and
compares exit status, standard error, standard output and written files byte
for byte.

Every DATEV-Format (CSV) batch a case writes must pass DATEV_RULES_CHECK
(tests/support/datev_rules_check, the rules of the core's tests).

Usage: cli_test.py CLI SOURCE_DIR CASE DATEV_RULES_CHECK
"""
import glob
import os
import subprocess
import sys
import tempfile

CLI, SOURCE, CASE, RULES_CHECK = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4]
DATA = os.path.join(SOURCE, "tests", "data")
EXAMPLE = os.path.join(SOURCE, "examples", "journal.txt")
BOOKINGS = os.path.join(DATA, "bookings")

E217_EXAMPLE = (
    "(E:217) ACHTUNG:\nEs wurden 1 Buchungen mit Konto 0 gezählt. Dies ist ein unzulässiges "
    "Konto.\nÜberprüfen Sie, ob Sie in Quickbooks 'Kontonummern verwenden' aktiviert haben.\n"
    "Die fehlerhaften Datensätze werden im Fenster markiert dargestellt.\n\n"
    "44 Buchungen wurden geladen.\n\n")
E104 = "(E:104)\nBitte laden sie zuerst eine Journal-Datei (Punkt 3).\n\n"


def read(path):
    with open(path, "rb") as f:
        return f.read()


def run(tmp, *args, extra_env=None):
    env = dict(os.environ, HOME=tmp, LC_ALL="C", TZ="UTC", **(extra_env or {}))
    data_dir = os.path.join(tmp, "data")
    p = subprocess.run([CLI, *args, "--data-dir", data_dir], capture_output=True, env=env,
                       timeout=120)
    return p.returncode, p.stdout, p.stderr.decode("utf-8")


def expect(name, actual, wanted):
    if actual != wanted:
        print(f"{CASE}: {name} differs\n--- wanted ---\n{wanted!r}\n--- actual ---\n{actual!r}")
        sys.exit(1)


def expect_datev_rules(folder, count):
    """The `count` CSV batches in `folder` pass DATEV's rules for a batch file."""
    files = sorted(glob.glob(os.path.join(folder, "EXTF_*.csv")))
    expect(f"CSV batches in {folder}", len(files), count)
    p = subprocess.run([RULES_CHECK, *files], capture_output=True, timeout=60)
    expect("DATEV rule problems", p.stdout.decode("utf-8", "replace") + p.stderr.decode(), "")
    expect("DATEV rule check exit status", p.returncode, 0)


def example(tmp, order):
    out = os.path.join(tmp, "buchhalter.txt")
    options = {"j": ["--journal", EXAMPLE], "l": ["--lexware", out], "s": ["--list"]}
    args = [a for key in order for a in options[key]]
    code, stdout, stderr = run(tmp, *args)
    expect("exit status", code, 0)
    expect("stderr", stderr,
           E217_EXAMPLE + "Konvertierung erfolgreich!\n44 Buchungen wurden konvertiert.\n\n")
    expect("stdout", stdout, read(os.path.join(DATA, "cli", "example_list.txt")))
    expect("Lexware file", read(out),
           read(os.path.join(DATA, "lexware", "example_journal_buchhalter.txt")))


def case_example(tmp):
    example(tmp, "jls")


def case_options_in_any_order(tmp):
    example(tmp, "slj")


def case_currency_dm(tmp):
    code, stdout, stderr = run(tmp, "--list", "--currency", "DM", "--journal",
                               os.path.join(BOOKINGS, "journal_split_first.txt"))
    expect("exit status", code, 0)
    expect("stderr", stderr, "2 Buchungen wurden geladen.\n\n")
    expect("stdout", stdout.decode("utf-8"),
           " 17. 03.01.2005, S=0,Soll=1200,Haben=8400, MwSt=16, 100,00 DM, (R-17)Müller,Erlöse"
           + " " * 11 + "\n"
           " 17. 03.01.2005, S=0,Soll=1200,Haben=1776, MwSt=16, 19,00 DM, (R-17)Müller,Umsatzsteuer"
           + " " * 5 + "\n")


def case_delete_zero(tmp):
    code, stdout, stderr = run(tmp, "--delete-zero", "--list", "--journal",
                               os.path.join(BOOKINGS, "journal_account_without_number.txt"))
    expect("exit status", code, 0)
    expect("last message", stderr.split("\n\n")[-2], "Insgesamt wurden 2 NULL-Buchungen gelöscht.")
    expect("stdout", stdout.decode("utf-8"),
           " 16. 29.01.2025, S=0,Soll=4910,Haben=1000, MwSt= 0, 5,00 EUR, (KA-03)Post,Porto"
           + " " * 13 + "\n")


def case_missing_journal(tmp):
    journal = os.path.join(tmp, "missing.txt")
    out = os.path.join(tmp, "buchhalter.txt")
    code, stdout, stderr = run(tmp, "--journal", journal, "--lexware", out, "--list")
    expect("exit status", code, 1)
    expect("stderr", stderr,
           f"(E:202)\n{journal} - Eingabedatei konnte nicht geöffnet werden!\n\n" + E104)
    expect("stdout", stdout, b"")
    expect("Lexware file exists", os.path.exists(out), False)


def case_header_only(tmp):
    journal = os.path.join(BOOKINGS, "journal_header_only.txt")
    code, _, stderr = run(tmp, "--journal", journal)
    expect("exit status", code, 1)
    expect("stderr", stderr,
           f"(E:218)\n{journal} - In der Journal-Datei wurden keine Buchungen gefunden.\n"
           "Bitte erstellen Sie eine neue Journal-Datei, die Buchungen enthält.\n\n")


def case_lexware_unwritable(tmp):
    out = os.path.join(tmp, "vanished", "buchhalter.txt")
    code, _, stderr = run(tmp, "--journal", os.path.join(BOOKINGS, "journal_split_first.txt"),
                          "--lexware", out)
    expect("exit status", code, 1)
    expect("stderr", stderr,
           "2 Buchungen wurden geladen.\n\n"
           f"(E:210)\n{out} - Ausgabedatei konnte nicht geöffnet werden!\n\n")


def case_list_unwritable(tmp):
    env = dict(os.environ, HOME=tmp, LC_ALL="C", TZ="UTC")
    with open("/dev/full", "wb") as full:
        p = subprocess.run([CLI, "--journal", os.path.join(BOOKINGS, "journal_split_first.txt"),
                            "--list", "--data-dir", os.path.join(tmp, "data")],
                           stdout=full, stderr=subprocess.PIPE, env=env, timeout=120)
    expect("exit status", p.returncode, 1)
    expect("stderr", p.stderr.decode("utf-8"),
           "2 Buchungen wurden geladen.\n\n"
           "belvaron-cli: the booking list could not be written to standard output.\n\n")


def case_help(tmp):
    code, stdout, stderr = run(tmp, "--help")
    expect("exit status", code, 0)
    expect("stdout starts with usage",
           stdout.decode().startswith("Usage: belvaron-cli --journal FILE [options]\n"), True)
    expect("stderr", stderr, "")


def case_version(tmp):
    code, stdout, stderr = run(tmp, "--version")
    expect("exit status", code, 0)
    expect("stdout", stdout, b"belvaron-cli V2.3\n")
    expect("stderr", stderr, "")


def case_usage_errors(tmp):
    for args, message in [
        (["--bogus"], "unknown option: --bogus"),
        (["--list"], "--journal FILE is required"),
        (["--journal"], "option --journal needs a value"),
        (["--journal", EXAMPLE, "--currency", "USD"], "invalid value for --currency: USD"),
        (["--journal", EXAMPLE, "--datev", ""], "invalid value for --datev: "),
        (["--journal", EXAMPLE, "--datev-batch", "week"], "invalid value for --datev-batch: week"),
    ]:
        env = dict(os.environ, HOME=tmp, LC_ALL="C")
        p = subprocess.run([CLI, *args], capture_output=True, env=env, timeout=60)
        expect(f"exit status of {args}", p.returncode, 2)
        err = p.stderr.decode()
        expect(f"stderr of {args}",
               err.startswith(f"belvaron-cli: {message}\n\nUsage: belvaron-cli"), True)
        expect(f"stdout of {args}", p.stdout, b"")


# Golden files of the whole workflow; BELVARON_UPDATE_GOLDEN=1 rewrites them
# (review the difference before committing it).
GOLDEN = os.path.join(DATA, "cli", "workflow")
UPDATE = os.environ.get("BELVARON_UPDATE_GOLDEN") == "1"
EPOCH = {"SOURCE_DATE_EPOCH": "1767225600"}  # 01.01.2026 00:00 UTC


def expect_golden(name, actual):
    path = os.path.join(GOLDEN, name)
    if UPDATE:
        os.makedirs(GOLDEN, exist_ok=True)
        with open(path, "wb") as f:
            f.write(actual)
        return
    expect(name, actual, read(path))


def prepare_data(tmp):
    data = os.path.join(tmp, "data")
    os.makedirs(data)
    with open(os.path.join(data, "angaben_datev.txt"), "wb") as f:
        f.write(read(os.path.join(SOURCE, "examples", "angaben_datev.txt")))
    os.makedirs(os.path.join(tmp, "export"))
    return data


def case_whole_workflow(tmp):
    """Every step in the window's order: VAT re-dating, REPLACE list, check,
    removal of account 0, the CSV DATEV batch, the Lexware file, the list."""
    data = prepare_data(tmp)
    lexware = os.path.join(tmp, "buchhalter.txt")
    code, stdout, stderr = run(
        tmp, "--list", "--lexware", lexware, "--datev", os.path.join(tmp, "export", "ED00001"),
        "--delete-zero", "--check", "SK3_DATEV.kon", "--replace",
        "--vat-report", os.path.join(SOURCE, "examples", "mwst.txt"),
        "--journal", EXAMPLE, extra_env=EPOCH)
    expect("exit status", code, 0)
    expect_golden("whole_stderr.txt", stderr.replace(tmp, "<TMP>").encode("utf-8"))
    expect_golden("whole_list.txt", stdout)
    expect_golden("whole_buchhalter.txt", read(lexware))
    expect_golden("whole_extf.csv",
                  read(os.path.join(tmp, "export", "EXTF_Buchungsstapel_20250102_20250326.csv")))
    expect_datev_rules(os.path.join(tmp, "export"), 1)
    expect_golden("whole_error_mwst.log", read(os.path.join(data, "error_mwst.log")))
    expect_golden("whole_Konto_Ueberpruefung.txt",
                  read(os.path.join(data, "Konto_Ueberpruefung.txt")))
    expect("replace.dat is the shipped list", read(os.path.join(data, "replace.dat")),
           read(os.path.join(SOURCE, "data", "replace.dat")))


def case_postversand_range(tmp):
    """The old Postversand files for February only, format chosen for the run."""
    data = prepare_data(tmp)
    settings = read(os.path.join(data, "angaben_datev.txt"))
    code, _, stderr = run(
        tmp, "--journal", EXAMPLE, "--replace", "--datev-format", "postversand",
        "--from", "1.2.25", "--to", "28.2.25",
        "--datev", os.path.join(tmp, "export", "Export.DATEV"))
    expect("exit status", code, 0)
    expect("last message", stderr.split("\n\n")[-2],
           "DATEV-Export erfolgreich abgeschlossen.\n14 Buchungen wurden exportiert.")
    expect_golden("february_ED00001", read(os.path.join(tmp, "export", "ED00001")))
    expect_golden("february_EV01", read(os.path.join(tmp, "export", "EV01")))
    expect("stored format unchanged", read(os.path.join(data, "angaben_datev.txt")), settings)


def case_datev_name_only(tmp):
    """--datev NAME without a folder part writes into the current folder."""
    prepare_data(tmp)
    work = os.path.join(tmp, "work")
    os.mkdir(work)
    env = dict(os.environ, HOME=tmp, LC_ALL="C", TZ="UTC", **EPOCH)
    p = subprocess.run([CLI, "--journal", EXAMPLE, "--delete-zero", "--datev", "ED00001",
                        "--data-dir", os.path.join(tmp, "data")],
                       capture_output=True, env=env, cwd=work, timeout=120)
    expect("exit status", p.returncode, 0)
    expect("files in the current folder", sorted(os.listdir(work)),
           ["EXTF_Buchungsstapel_20250102_20250314.csv"])
    expect_datev_rules(work, 1)


def case_check_proposes(tmp):
    """Unmapped QuickBooks accounts checked against SKR 04, proposals accepted."""
    data = prepare_data(tmp)
    with open(os.path.join(data, "replace.dat"), "wb") as f:
        f.write(b"1200, 0, 1800, 1800, 0, 0")  # no line break at the end
    code, _, stderr = run(tmp, "--journal", EXAMPLE, "--check", "SK4_DATEV.kon", "--propose")
    expect("exit status", code, 0)
    expect("question asked", "Soll ich einen Vorschlag für die REPLACE-Liste machen?" in stderr,
           True)
    expect_golden("proposals_replace.dat", read(os.path.join(data, "replace.dat")))


CASES = {name[len("case_"):]: f for name, f in globals().items() if name.startswith("case_")}

if __name__ == "__main__":
    if CASE not in CASES:
        print(f"unknown case {CASE}; known: {', '.join(sorted(CASES))}")
        sys.exit(2)
    with tempfile.TemporaryDirectory(prefix="belvaron-cli-") as tmp:
        CASES[CASE](tmp)
