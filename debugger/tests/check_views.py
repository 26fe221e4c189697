#!/usr/bin/env python3
"""Checks the views of one debugger against a table of expected lines.

    check_views.py gdb|lldb <debugger> <table> <program> --cmake <cmake>
                   --build-dir <dir> --libdir <libdir> --work-dir <dir>

Installs the build tree into <work-dir> with a plain `cmake --install`, runs
<program> under the debugger to its stop in DebuggerStop, and runs the table's
commands in main's frame:
  - GDB, with nothing but `add-auto-load-safe-path <prefix>`: once through the
    hook under share/gdb/auto-load (GDB pointed at that directory, the hook
    beside the library set aside), then, the installed tree moved elsewhere,
    through the hook beside the library;
  - LLDB, after `command script import` of the installed formatters.
The program loads the installed library (LD_LIBRARY_PATH).

Table rows are `<command> => <expected output>`, the output on one line
(whitespace runs as one space, GDB's "$N = " left out), `{ptr}` standing for
any hexadecimal address; a row without "=>" is a command whose output is not
checked. Exits 1, listing every difference, when a view differs, when the
debugger reports a Python error, or when it does not finish within TIMEOUT.
"""

import argparse
import glob
import os
import re
import shutil
import subprocess
import sys

TIMEOUT = 180  # seconds for one debugger run
MARKER = "@@row "


def fail(message):
    print("check_views: " + message, file=sys.stderr)
    sys.exit(1)


def read_table(path):
    """[(command, expected or None)] from the table at `path`."""
    rows = []
    with open(path, encoding="utf-8") as table:
        for line in table:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            command, arrow, expected = line.partition(" => ")
            rows.append((command.strip(), expected.strip() if arrow else None))
    return rows


def pattern(expected):
    """A regular expression matching `expected`, {ptr} being any address."""
    return re.compile("0x[0-9a-f]+".join(re.escape(part) for part in expected.split("{ptr}")))


def run(command, env=None):
    """The stdout of `command`; fails the check if it fails or hangs."""
    try:
        done = subprocess.run(
            command, env=env, capture_output=True, text=True, errors="replace", timeout=TIMEOUT
        )
    except subprocess.TimeoutExpired:
        fail("%s did not finish within %d s" % (command[0], TIMEOUT))
    if done.returncode != 0:
        output = done.stdout + "\n" + done.stderr
        fail("%s failed (%d):\n%s" % (" ".join(command), done.returncode, output))
    for error in ("Traceback", "Python Exception", "error: python"):
        if error in done.stdout or error in done.stderr:
            fail("%s reported a Python error:\n%s\n%s" % (command[0], done.stdout, done.stderr))
    return done.stdout


def views(output, skipped):
    """{row index: the row's output on one line}, cut at the markers; lines
    starting with one of `skipped` (the debugger's echo of a command, its
    hints) left out."""
    found = {}
    current = None
    for line in output.splitlines():
        if line.startswith(MARKER):
            label = line[len(MARKER) :]
            current = int(label) if label.isdigit() else None
            if current is not None:
                found[current] = []
        elif current is not None and not line.startswith(skipped):
            found[current].append(line)
    joined = {}
    for index, lines in found.items():
        text = " ".join(" ".join(lines).split())
        joined[index] = re.sub(r"^\$\d+ = ", "", text)
    return joined


def compare(output, rows, skipped, what):
    """The differences between the rows' expected and actual views."""
    actual = views(output, skipped)
    differences = []
    for index, (command, expected) in enumerate(rows):
        if expected is None:
            continue
        got = actual.get(index)
        if got is None or not pattern(expected).fullmatch(got):
            differences.append(
                "%s: %s\n  expected: %s\n  actual:   %s" % (what, command, expected, got)
            )
    return differences


def write_script(path, start, rows, echo, stop):
    """Writes the debugger's command file `path`: the `start` commands, each
    row's command after its marker, which the command `echo % marker` prints,
    and `stop`."""
    script = list(start)
    for index, (command, _) in enumerate(rows):
        script += [echo % (MARKER + str(index)), command]
    script += [echo % (MARKER + "end"), stop]
    with open(path, "w", encoding="utf-8") as commands:
        commands.write("\n".join(script) + "\n")


def gdb_run(gdb, program, prefix, libdir, rows, extra):
    """GDB's output for the rows, on `program` with `prefix` allowed."""
    start = ["set width 0", "set height 0", "break DebuggerStop", "run", "up"]
    path = os.path.join(os.path.dirname(prefix), "gdb-commands")
    write_script(path, start, rows, "echo %s\\n", "kill")
    command = [gdb, "-batch", "-nx", "-iex", "add-auto-load-safe-path " + prefix]
    command += extra + ["-x", path, program]
    return run(command, env=dict(os.environ, LD_LIBRARY_PATH=os.path.join(prefix, libdir)))


def lldb_python_path(lldb):
    """The folder holding the `lldb` Python package for `lldb`: what `lldb -P`
    says, or where the package lies beside the real binary when that answer
    is wrong (as it is for Debian 12's lldb-14)."""
    said = subprocess.run([lldb, "-P"], capture_output=True, text=True, timeout=TIMEOUT)
    candidates = [said.stdout.strip()]
    root = os.path.dirname(os.path.dirname(os.path.realpath(shutil.which(lldb) or lldb)))
    candidates += sorted(glob.glob(os.path.join(root, "lib", "python3*", "*-packages")))
    for candidate in candidates:
        if os.path.isfile(os.path.join(candidate, "lldb", "embedded_interpreter.py")):
            return candidate
    fail("found no lldb Python package for %s (tried %s)" % (lldb, ", ".join(candidates)))


def lldb_run(lldb, program, prefix, libdir, rows):
    """LLDB's output for the rows, after importing the formatters."""
    formatters = os.path.join(prefix, "share", "quarnbase", "lldb", "quarnbase_lldb.py")
    start = [
        "command script import " + formatters,
        "breakpoint set -n DebuggerStop",
        "run",
        "frame select 1",
    ]
    path = os.path.join(os.path.dirname(prefix), "lldb-commands")
    write_script(path, start, rows, "script print('%s')", "process kill")
    env = dict(os.environ, LD_LIBRARY_PATH=os.path.join(prefix, libdir))
    # LLDB's Python finds its standard library from the first python3 on the
    # PATH: the one installed beside LLDB, not one a version manager put first.
    env["PATH"] = os.pathsep.join([os.path.dirname(shutil.which(lldb)), env.get("PATH", "")])
    paths = [lldb_python_path(lldb), env.get("PYTHONPATH")]
    env["PYTHONPATH"] = os.pathsep.join(path for path in paths if path)
    return run([lldb, "-b", "--no-lldbinit", "-s", path, program], env=env)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("debugger", choices=("gdb", "lldb"))
    parser.add_argument("command")
    parser.add_argument("table")
    parser.add_argument("program")
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--libdir", required=True)
    parser.add_argument("--work-dir", required=True)
    args = parser.parse_args()

    if not shutil.which(args.command):
        fail(
            "%s was not found when the build was configured (%s): "
            "scripts/install-cross-tools.sh installs it; configure again afterwards"
            % (args.debugger, args.command)
        )
    rows = read_table(args.table)
    shutil.rmtree(args.work_dir, ignore_errors=True)
    os.makedirs(args.work_dir)
    prefix = os.path.join(args.work_dir, "installed")
    run([args.cmake, "--install", args.build_dir, "--prefix", prefix])

    differences = []
    if args.debugger == "gdb":
        beside = glob.glob(os.path.join(prefix, args.libdir, "*-gdb.py"))
        if len(beside) != 1:
            fail("expected one GDB hook beside the library, found %s" % beside)
        os.rename(beside[0], beside[0] + ".aside")
        directory = os.path.join(prefix, "share", "gdb", "auto-load")
        output = gdb_run(
            args.command,
            args.program,
            prefix,
            args.libdir,
            rows,
            ["-iex", "set auto-load scripts-directory " + directory],
        )
        differences += compare(output, rows, (), "GDB, hook under share/gdb/auto-load")
        os.rename(beside[0] + ".aside", beside[0])
        moved = os.path.join(args.work_dir, "moved")
        os.rename(prefix, moved)
        output = gdb_run(args.command, args.program, moved, args.libdir, rows, [])
        differences += compare(output, rows, (), "GDB, hook beside the moved library")
    else:
        output = lldb_run(args.command, args.program, prefix, args.libdir, rows)
        differences += compare(output, rows, ("(lldb) ", "*** "), "LLDB")

    if differences:
        fail("%d views differ:\n%s" % (len(differences), "\n".join(differences)))
    checked = sum(expected is not None for _, expected in rows)
    print("check_views: %s showed all %d expected views" % (args.debugger, checked))


if __name__ == "__main__":
    main()
