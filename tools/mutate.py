#!/usr/bin/env python3
"""Plants the faults of tools/faults.py one at a time and tells which the tests catch.

For each fault: the file gets the fault, the in-process tests of the x86_64 build are
built and run, and the file is put back. A fault is caught when the tests fail or
hang (cut after a time limit); a build that fails counts only where the row says so.
Started by scripts/mutate.sh, which provides the display and the Wine server.

    mutate.py [--list] [WORD or NUMBER ...]   the rows to run (all by default)
    mutate.py --restore                        puts back a fault a killed run left

The file being changed is copied to build/mutation/ first; a run stopped by Ctrl+C
or a signal puts it back at once, and one killed outright is put back by the next
run (or by --restore) as long as nobody has changed the file since.
"""
import json
import os
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools"))
from faults import FAULTS  # noqa: E402

WORK = os.path.join(ROOT, "build", "mutation")
PLANTED = os.path.join(WORK, "planted.json")  # the file with a fault now, and its texts
LOGS = os.path.join(WORK, "logs")
TESTS = os.path.join("build", "x86_64", "tests", "tests.exe")
# A normal run takes under a minute here; a fault that makes the tests hang is cut.
TIME_LIMIT = int(os.environ.get("MUTATION_TIME_LIMIT", "300"))
REQUIRED = 95.0  # per cent of the table that must be caught


class Stop(Exception):
    """A signal asked the run to end."""


def read(path):
    with open(os.path.join(ROOT, path), encoding="utf-8", newline="") as f:
        return f.read()


def write(path, text):
    # Whole or not at all: a signal never leaves half a file.
    full = os.path.join(ROOT, path)
    with open(full + ".mutate-new", "w", encoding="utf-8", newline="") as f:
        f.write(text)
    os.replace(full + ".mutate-new", full)


SIGNALS = {signal.SIGINT, signal.SIGTERM, signal.SIGHUP}


class Deferred:
    """Holds the stopping signals back for a while: a change to the tree is made whole."""

    def __enter__(self):
        signal.pthread_sigmask(signal.SIG_BLOCK, SIGNALS)

    def __exit__(self, *exception):
        signal.pthread_sigmask(signal.SIG_UNBLOCK, SIGNALS)


def problem(fault):
    """Why a row cannot be planted, or None."""
    if not os.path.isfile(os.path.join(ROOT, fault.file)):
        return "no such file"
    found = read(fault.file).count(fault.original)
    if found != 1:
        return "the original text occurs %d times, not once" % found
    if fault.original == fault.replacement:
        return "the replacement is the original"
    return None


def restore(told=False):
    """Puts back the file a fault was planted in, unless someone changed it since;
    told: say so, since a run that ended by force left it."""
    with Deferred():
        put_back(told)


def put_back(told):
    if not os.path.exists(PLANTED):
        return
    with open(PLANTED, encoding="utf-8") as f:
        planted = json.load(f)
    now = read(planted["file"]) if os.path.exists(os.path.join(ROOT, planted["file"])) else None
    if now == planted["mutated"]:
        write(planted["file"], planted["original"])
        if told:
            print("Put back %s without its planted fault" % planted["file"], file=sys.stderr)
    elif now != planted["original"]:
        print("NOT put back: %s was changed after a fault was planted in it; the original "
              "is in %s" % (planted["file"], PLANTED), file=sys.stderr)
        return
    os.remove(PLANTED)


def plant(fault):
    original = read(fault.file)
    mutated = original.replace(fault.original, fault.replacement, 1)
    os.makedirs(WORK, exist_ok=True)
    with Deferred():
        with open(PLANTED + ".new", "w", encoding="utf-8") as f:
            json.dump({"file": fault.file, "original": original, "mutated": mutated}, f)
        os.replace(PLANTED + ".new", PLANTED)  # noted before the file changes
        write(fault.file, mutated)


def run(command, log, limit=None, env=None):
    """Runs a command in a session of its own, its output to a log; its exit code,
    or None when it ran past the limit. A stop ends the whole session."""
    with open(log, "w") as out:
        process = subprocess.Popen(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT,
                                   start_new_session=True, env=env)
        try:
            return process.wait(timeout=limit)
        except subprocess.TimeoutExpired:
            return None
        finally:
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()


def build(log):
    return run(["bash", "-c", ". scripts/lib.sh && build x86_64 --target tests"], log) == 0


def run_tests(log):
    env = dict(os.environ)
    # A crash ends the process at once instead of waiting on the debugger.
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml,winemenubuilder.exe,winedbg.exe="
    return run(["scripts/wine-run.sh", TESTS, "--abort-after=1", "--no-version"], log,
               TIME_LIMIT, env)


def first_failure(log):
    with open(log, errors="replace") as f:
        for line in f:
            if line.startswith("TEST CASE:"):
                return line[len("TEST CASE:"):].strip()
    return ""


def folder(fault):
    return fault.file.split("/")[1]


def select(words):
    if not words:
        return list(enumerate(FAULTS, 1))
    chosen = []
    for number, fault in enumerate(FAULTS, 1):
        text = (fault.file + " " + fault.seen).lower()
        if any(w == str(number) or (not w.isdigit() and w.lower() in text) for w in words):
            chosen.append((number, fault))
    return chosen


def main(args):
    if args == ["--restore"]:
        restore(told=True)
        return 0
    listing = "--list" in args
    rows = select([a for a in args if a != "--list"])
    folders = sorted({folder(f) for f in FAULTS})
    print("%d faults in the table, over %s" % (len(FAULTS), ", ".join(folders)))
    bad = [(n, f, problem(f)) for n, f in enumerate(FAULTS, 1) if problem(f)]
    for number, fault, why in bad:
        print("Row %d (%s): %s" % (number, fault.file, why), file=sys.stderr)
    if bad:
        print("Refused: fix the rows above first.", file=sys.stderr)
        return 2
    if listing:
        for number, fault in rows:
            print("%3d  %-34s %s" % (number, fault.file, fault.seen))
        return 0
    if not rows:
        print("No row matches %s" % " ".join(args), file=sys.stderr)
        return 2

    os.makedirs(LOGS, exist_ok=True)
    started = time.time()
    print("Without a fault: ", end="", flush=True)
    if not build(os.path.join(LOGS, "0-build.log")):
        print("the build fails (build/mutation/logs/0-build.log)")
        return 2
    if run_tests(os.path.join(LOGS, "0-tests.log")) != 0:
        print("the tests fail (build/mutation/logs/0-tests.log); a fault would prove nothing")
        return 2
    print("the tests pass")

    results = []
    for number, fault in rows:
        print("%3d  %-8s %s" % (number, folder(fault), fault.seen), flush=True)
        build_log = os.path.join(LOGS, "%d-build.log" % number)
        tests_log = os.path.join(LOGS, "%d-tests.log" % number)
        try:
            plant(fault)
            if not build(build_log):
                caught = fault.build_fails
                how = "the build fails" + ("" if caught else ": the row must compile")
            else:
                code = run_tests(tests_log)
                caught = code != 0
                if code is None:
                    how = "the tests hang: cut after %d s" % TIME_LIMIT
                elif caught:
                    how = "by " + (first_failure(tests_log) or "exit code %d" % code)
                else:
                    how = "the tests pass"
        finally:
            restore()
        results.append((number, fault, caught))
        print("     %-8s %s" % ("caught" if caught else "MISSED", how), flush=True)

    caught = sum(1 for _, _, c in results if c)
    share = 100.0 * caught / len(results)
    print("\nCaught %d of %d planted faults (%.1f %%) in %d minutes" %
          (caught, len(results), share, (time.time() - started + 30) // 60))
    for number, fault, c in results:
        if not c:
            print("  missed: %d %s: %s" % (number, fault.file, fault.seen))
    if len(results) == len(FAULTS) and share < REQUIRED:
        print("Below the %.0f %% the table must reach: each missed fault wants a test." %
              REQUIRED)
        return 1
    return 0


def on_signal(number, frame):
    for sig in SIGNALS:  # one stop is enough
        signal.signal(sig, signal.SIG_IGN)
    raise Stop()


if __name__ == "__main__":
    for sig in SIGNALS:
        signal.signal(sig, on_signal)
    try:
        sys.exit(main(sys.argv[1:]))
    except Stop:
        restore(told=True)
        print("\nStopped; no fault is left in the tree.", file=sys.stderr)
        sys.exit(130)
