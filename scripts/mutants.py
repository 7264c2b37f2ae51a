#!/usr/bin/env python3
"""Puts small faults into the code one at a time, rebuilds incrementally,
runs the plain suite and counts the faults the suite catches.

usage: mutants.py BUILD_DIR [--only N,M,...] [--list]

Each fault replaces one exact piece of one file; the file is restored
before the next fault, also when the run is interrupted. The quick tests
run first and stop at the first failure; the slow ones (serial lines, the
window, start-up) run only when the quick ones all pass."""
import argparse
import os
import re
import signal
import subprocess
import sys
import time

# (file, piece as it stands, faulty piece, what the fault is)
FAULTS = [
    # model
    ("src/model/NumberFormat.cpp", "arg(n, 2, 10, QLatin1Char('0'))", "arg(n, 1, 10, QLatin1Char('0'))",
     "numbers below ten lose their leading zero"),
    ("src/model/NumberFormat.cpp", "field[0] = number < 0 ?", "field[0] = number <= 0 ?",
     "zero gets a minus sign"),
    ("src/model/NumberFormat.cpp", "result[0] != QLatin1Char('M') && ", "",
     "strClean strips the M of an M code"),
    ("src/model/NumberFormat.cpp", "c == QLatin1Char('.') && !seenPoint", "c == QLatin1Char('.')",
     "a second decimal point is read as part of the number"),
    ("src/model/NumberFormat.cpp", "if (magnitude > 32767.0)", "if (magnitude > 327670.0)",
     "numbers too large for a field are not refused"),
    ("src/model/ProgramLine.cpp", "row.setColumn(c.z, piece(line, 16, 7));", "row.setColumn(c.z, piece(line, 16, 6));",
     "Mark 4 Z column read one character short"),
    ("src/model/ProgramLine.cpp", "row.setColumn(c.y, piece(line, 16, 5));", "row.setColumn(c.y, piece(line, 17, 5));",
     "F1 Y column read from the wrong place"),
    ("src/model/ProgramLine.cpp", "std::min<qsizetype>(5, line.size())", "std::min<qsizetype>(4, line.size())",
     "the unit mark is looked for in four characters, not five"),
    ("src/model/ProgramLine.cpp", "QLatin1String(\" Z\") + mark2Placed(row.column(c.z), 6)",
     "QLatin1String(\" Z\") + mark2Placed(row.column(c.z), 5)", "Mark 2 Z field written a character narrow"),
    ("src/model/ProgramLine.cpp", "+ QLatin1Char(' ') + row.column(c.comment)", "+ row.column(c.comment)",
     "the blank in front of the comment is dropped"),
    ("src/model/MachineProfile.cpp", "p.lineLimit = 222;", "p.lineLimit = 223;", "F1 line limit one too high"),
    # files
    ("src/files/ProgramText.cpp", "text += programLineText(row, machine) + kCrLf;",
     "text += programLineText(row, machine) + QLatin1String(\"\\n\");", "rows end in LF instead of CR LF"),
    ("src/files/ProgramText.cpp", "text += program.units == Units::Metric ?", "text += program.units != Units::Metric ?",
     "the unit line is swapped"),
    ("src/files/ProgramText.cpp", "while (notes.endsWith(kCrLf))", "while (false && notes.endsWith(kCrLf))",
     "trailing line ends of the description are kept"),
    ("src/files/ProgramText.cpp", "if (percent > 0) {", "if (percent > 1) {",
     "a one-character description is dropped"),
    ("src/files/ProgramText.cpp", "result.rowLines.push_back(lineFeeds + 1);", "result.rowLines.push_back(lineFeeds);",
     "file line numbers of rows one too low"),
    ("src/files/ProgramText.cpp", "line.left(6) == QLatin1String(\"   N00\")", "line.left(6) == QLatin1String(\"   N01\")",
     "a Mark 2 file is recognised by the wrong first line"),
    ("src/files/ProgramText.cpp", "result.accepted = found && valid &&", "result.accepted = found &&",
     "a wrong column header is accepted"),
    ("src/files/ProgramText.cpp", "if (program.description.contains(QLatin1Char('%')))", "if (false)",
     "a percent sign in the description is written"),
    ("src/files/Cp1252.cpp", "(c >= 0xA0 && c <= 0xFF)", "(c >= 0xA1 && c <= 0xFF)",
     "the no-break space cannot be encoded"),
    # editing
    ("src/editing/EditorLineCommands.cpp", "if (rowCount() < profile().lineLimit)", "if (rowCount() <= profile().lineLimit)",
     "one line past the line limit is allowed"),
    ("src/editing/EditorLineCommands.cpp", "+ added <= kHighestLineNumber)", "+ added < kHighestLineNumber)",
     "line number 999 is refused"),
    ("src/editing/EditorLineCommands.cpp", "shiftLineNumbers(m_program, m_machine, p, 1);",
     "shiftLineNumbers(m_program, m_machine, p + 1, 1);", "insertion renumbers from one row too late"),
    ("src/editing/EditorLineCommands.cpp", "shiftLineNumbers(m_program, m_machine, current, -1);", "",
     "deletion skips the renumbering"),
    ("src/editing/EditorLineCommands.cpp", "        m_flags.newLinePending = false;\n    const int newCurrent",
     "        ;\n    const int newCurrent", "deleting the new line keeps its pending flag"),
    ("src/editing/EditorLineCommands.cpp", "if (rowsDiffer)\n        m_modified = true;", "if (false)\n        m_modified = true;",
     "undo does not count as unsaved work"),
    ("src/editing/LineNumbers.cpp", "if (moved.empty() || machine == MachineType::Mark2)", "if (true)",
     "calls and jumps are not retargeted"),
    ("src/editing/LineNumbers.cpp", "for (int r = 1; r <= list.count(); ++r)\n        highest",
     "for (int r = 1; r < list.count(); ++r)\n        highest", "the last row's number is not looked at"),
    ("src/editing/EditorLineCommands.cpp", "const int newCurrent = current > 1 ? current - 1 : current;",
     "const int newCurrent = current;", "after a deletion the line behind is shown, not the one before"),
    ("src/editing/EditorLineCommands.cpp", "number = lineNumberOf(row(currentRow()).column(profile().columns.n)) + 1;",
     "number = lineNumberOf(row(currentRow()).column(profile().columns.n)) + 2;", "an inserted line skips a number"),
    ("src/editing/CopyWorkflow.cpp", "std::clamp(m_insertText.toInt() + 1,", "std::clamp(m_insertText.toInt(),",
     "copies go in one line too early"),
    ("src/editing/CopyWorkflow.cpp", "m_undoWasEnabled = true;", "m_undoWasEnabled = false;",
     "undo stays off after a copy"),
    ("src/editing/ParameterRules.cpp", "if (value < minimum) {", "if (value < minimum - 1) {",
     "one below the minimum is accepted"),
    ("src/editing/ParameterRules.cpp", "} else if (value > maximum) {", "} else if (value >= maximum) {",
     "the maximum itself is refused"),
    ("src/editing/ParameterRules.cpp", "|| u == '-';", ";", "the minus key is refused"),
    ("src/editing/ParameterRules.cpp", "return negative ? -value : value;", "return value;",
     "negative values lose their sign"),
    # export
    ("src/export/ExportNumber.cpp", "roundUp = digits[keep] >= QLatin1Char('5');",
     "roundUp = digits[keep] > QLatin1Char('5');", "a five rounds down"),
    ("src/export/ExportNumber.cpp", "if (value < 0 && !zero)", "if (value < 0)", "minus zero is written"),
    ("src/export/ConvertCode.cpp", "        counter += 10;\n        text = QStringLiteral(\"N%1 T%2\")",
     "        counter += 1;\n        text = QStringLiteral(\"N%1 T%2\")", "tool lines numbered in ones"),
    ("src/export/ConvertCode.cpp", "return text.left(quote).replace(QLatin1Char(','), QLatin1Char('.')) + text.mid(quote);",
     "return QString(text).replace(QLatin1Char(','), QLatin1Char('.'));", "commas in comments become points"),
    ("src/export/ConvertCode.cpp", "writeLine(line.startsWith(QLatin1Char('*')) ? line : QLatin1Char('*') + line);",
     "writeLine(QLatin1Char('*') + line);", "description lines get a second star"),
    ("src/export/ProgramWalk.cpp", "m_returns.push_back(m_index + 1);", "m_returns.push_back(m_index);",
     "a return goes back to the call itself"),
    ("src/export/ProgramWalk.cpp", "if (m_index > recordCount()) {  // the call", "if (m_index >= recordCount()) {  // the call",
     "a return to the last row ends the program"),
    ("src/export/ProgramWalk.cpp", "circle.k = coordinate(m99.zDigits, QLatin1Char(' '));",
     "circle.k = coordinate(m99.xDigits, QLatin1Char(' '));", "the arc's K is read from the X column"),
    ("src/export/CycleMoves.cpp", "return sum < d && pecks < kMostPecks;", "return sum <= d && pecks < kMostPecks;",
     "a drilling cycle makes one peck too many"),
    # link
    ("src/link/SendText.cpp", "text += QString(100, QChar(0));", "text += QString(99, QChar(0));",
     "the leader is one NUL short"),
    ("src/link/SendText.cpp", "if (machine != MachineType::Mark2)\n        text += QLatin1String(\"   \");",
     "text += QLatin1String(\"   \");", "the Mark 2 unit line is sent with blanks"),
    ("src/link/SendText.cpp", "text += QString(10, QChar(0));", "text += QString(1, QChar(0));",
     "the trailer is nine NULs short"),
    ("src/link/SendText.cpp", "const int characters = rowCount * 32 +", "const int characters = rowCount * 31 +",
     "the send estimate counts 31 characters a row"),
    ("src/link/SendText.cpp", "if (rest == 1)", "if (rest <= 1)", "zero seconds read as one second"),
    ("src/link/ReceiveDisplay.cpp", "if (display.startsWith(QLatin1Char('\\n')))", "if (false)",
     "the received text keeps a line feed at its start"),
    ("src/link/ReceiveDisplay.cpp", " || display.startsWith(QLatin1String(\"   \\\"\"))", "",
     "an inch unit line does not end the reception"),
    ("src/link/SendJob.cpp", "const int shown = std::min(percent, 99);", "const int shown = std::min(percent, 100);",
     "the bar shows 100 before the line is drained"),
    ("src/link/SendJob.cpp", "m_position += written;", "m_position += written + 1;",
     "a byte is skipped after each chunk"),
    ("src/link/ReceivedProgram.cpp", "result.empty = bytes.isEmpty();", "result.empty = false;",
     "nothing received is decoded as a program"),
]

CURRENT = []  # the command running now, stopped with the run


def run(cmd, cwd, log, timeout=None):
    with open(log, "a") as out:
        out.write("$ " + " ".join(cmd) + "\n")
        out.flush()
        proc = subprocess.Popen(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT, start_new_session=True)
        CURRENT[:] = [proc]
        try:
            return proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
            out.write("timed out\n")
            return 1
        finally:
            CURRENT.clear()


def stop_current():
    # A compiler left running would write an object of the faulty code after
    # the file is restored, and the next build would take it as current.
    for proc in CURRENT:
        try:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
        except ProcessLookupError:
            pass


def suite(build):
    """The tests of the suite by the folder of tests/ they come from."""
    folders = {}
    tests_dir = os.path.join(build, "tests")
    for folder in sorted(os.listdir(tests_dir)):
        testfile = os.path.join(tests_dir, folder, "CTestTestfile.cmake")
        if os.path.exists(testfile):
            with open(testfile) as f:
                folders[folder] = re.findall(r"add_test\(\[=\[(\w+)\]=\]", f.read())
    return folders


def ordered(folders, path):
    """The tests of the faulty file's own layer first, then the others."""
    layer = path.split("/")[1]
    first = folders.get(layer, [])
    return first + [t for names in folders.values() for t in names if t not in first]


def catches(build, root, tests, jobs, log):
    """Builds and runs one test at a time, so a caught fault costs one link;
    a test that is no target of its own (a script) needs the whole build."""
    whole_built = False
    for test in tests:
        if run(["cmake", "--build", build, "-j", jobs, "--target", test], root, log) != 0:
            if whole_built or run(["cmake", "--build", build, "-j", jobs], root, log) != 0:
                return None
            whole_built = True
        if run(["ctest", "--timeout", "120", "-R", "^" + test + "$"], build, log) != 0:
            return test
    return ""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--only", default="")
    parser.add_argument("--list", action="store_true")
    args = parser.parse_args()
    if args.list:
        for i, (path, _, _, what) in enumerate(FAULTS, 1):
            print(f"{i:2} {path}: {what}")
        return 0
    root = os.getcwd()
    build = os.path.abspath(args.build)
    chosen = [int(n) for n in args.only.split(",") if n] or list(range(1, len(FAULTS) + 1))
    jobs = str(os.cpu_count() or 2)
    os.environ["QT_QPA_PLATFORM"] = "offscreen"
    log = os.path.join(build, "mutants.log")

    # Unoptimised and without debug information: each fault rebuilds one file
    # and relinks what uses it, and that is what the run spends its time on.
    os.makedirs(build, exist_ok=True)
    open(log, "w").close()
    if run(["cmake", "-S", root, "-B", build, "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_FLAGS_DEBUG=-O0",
            "-DQUILLON_BUILD_BENCHMARKS=OFF"], root, log) != 0 \
            or run(["cmake", "--build", build, "-j", jobs], root, log) != 0:
        print("the unchanged code does not build; see " + log)
        return 2
    if run(["ctest", "-j", jobs, "--timeout", "120"], build, log) != 0:
        print("the suite fails on the unchanged code; see " + log)
        return 2
    folders = suite(build)

    caught, survived, broken = [], [], []
    for n in chosen:
        path, piece, faulty, what = FAULTS[n - 1]
        full = os.path.join(root, path)
        with open(full, encoding="utf-8", newline="") as f:
            original = f.read()
        if original.count(piece) != 1:
            print(f"{n:2} {path}: the piece is not there exactly once; skipped")
            broken.append(n)
            continue

        def restore(*_):
            with open(full, "w", encoding="utf-8", newline="") as f:
                f.write(original)

        signal.signal(signal.SIGINT, lambda *a: (stop_current(), restore(), sys.exit(130)))
        signal.signal(signal.SIGTERM, lambda *a: (stop_current(), restore(), sys.exit(143)))
        started = time.monotonic()
        try:
            with open(full, "w", encoding="utf-8", newline="") as f:
                f.write(original.replace(piece, faulty))
            with open(log, "a") as out:
                out.write(f"\n=== fault {n}: {path}: {what}\n")
            by = catches(build, root, ordered(folders, path), jobs, log)
            if by is None:
                verdict = "does not build"
                broken.append(n)
            elif by:
                verdict = "caught by " + by
                caught.append(n)
            else:
                verdict = "SURVIVED"
                survived.append(n)
        finally:
            restore()
        print(f"{n:2} {time.monotonic() - started:4.0f} s  {path}: {what}: {verdict}", flush=True)

    tried = len(caught) + len(survived)
    print(f"caught {len(caught)} of {tried} faults ({100.0 * len(caught) / max(tried, 1):.0f} %)"
          + (f"; {len(broken)} could not be applied or built: {broken}" if broken else ""))
    if survived:
        print("survived: " + ", ".join(str(n) for n in survived))
    return 0


if __name__ == "__main__":
    sys.exit(main())
