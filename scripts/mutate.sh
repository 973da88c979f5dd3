#!/usr/bin/env bash
# Plants each fault of tools/faults.py alone, builds and runs the in-process tests of
# the x86_64 build, and says whether they caught it; then a total. Run by hand, not
# in CI: one build and one test run per fault. Arguments choose rows by number or by
# a word of their file or description; --list shows the table. No fault is left
# behind: Ctrl+C or a signal puts the file back at once, and a run killed outright
# is put right by the next.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

PACKAGES="$PACKAGES python3" ensure_packages
python3 tools/mutate.py --restore
if [ "${1:-}" = --list ]; then
    exec python3 tools/mutate.py "$@"
fi
if [ -n "$(git status --porcelain -- src)" ]; then
    echo "src/ has changes that are not committed; a planted fault could not be told from them." >&2
    echo "Commit or stash them first." >&2
    exit 2
fi

child=""
stop() {
    # The runner puts its file back when told to stop, and ends its build or test run.
    if [ -n "$child" ]; then
        kill -TERM "$child" 2>/dev/null || true
        wait "$child" 2>/dev/null || true
    fi
    exit 130
}
trap 'python3 tools/mutate.py --restore; stop_wine; stop_display' EXIT
trap stop INT TERM HUP
start_display
start_wine
unmanaged_windows tests.exe VorbelMerge.exe
# In the background, so that a signal reaches this script's trap at once.
python3 tools/mutate.py "$@" &
child=$!
status=0
wait "$child" || status=$?
child=""
exit "$status"
