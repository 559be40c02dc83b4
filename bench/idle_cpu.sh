#!/usr/bin/env bash
# How much of one core the program uses while it sits connected to the
# virtual device with its meters running and nothing else happening. Runs it
# under a private X server (xvfb-run, Debian's xvfb) so that every repaint
# really reaches a display, lets the connection settle, then reads the
# process's CPU time over the measuring window.
#   bench/idle_cpu.sh [sonoria program] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/sonoria}
seconds=${2:-20}
settle=8

command -v xvfb-run >/dev/null || { echo "idle_cpu: needs xvfb-run (apt-get install xvfb xauth)" >&2; exit 77; }
[ -x "$program" ] || { echo "idle_cpu: no program at $program (build it first)" >&2; exit 1; }

# A runtime, temporary and settings folder of its own: the measurement never
# meets another copy of the program.
scratch=$(mktemp -d)
# The X server and the program run in a process group of their own, ended together.
trap 'kill -- -"$runner" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$scratch"' EXIT
chmod 700 "$scratch"
XDG_RUNTIME_DIR=$scratch TMPDIR=$scratch XDG_CONFIG_HOME=$scratch \
    setsid xvfb-run -a -s "-screen 0 1280x1024x24" "$program" --virtual >"$scratch/log" 2>&1 &
runner=$!

pid=""
for _ in $(seq 100); do
    pid=$(pgrep -n -f "^$program --virtual" || true)
    [ -n "$pid" ] && break
    sleep 0.1
done
[ -n "$pid" ] || { cat "$scratch/log" >&2; echo "idle_cpu: the program did not start" >&2; exit 1; }
sleep "$settle"

# The first field of each thread's schedstat: its time on a CPU, in nanoseconds.
cpu_ns() { cat /proc/"$pid"/task/*/schedstat | awk '{ sum += $1 } END { printf "%d\n", sum }'; }
start=$(cpu_ns)
sleep "$seconds"
end=$(cpu_ns)
awk -v ns=$((end - start)) -v s="$seconds" \
    'BEGIN { printf "idle CPU: %.2f%% of one core over %d s (%.0f ms)\n", ns / (s * 1e7), s, ns / 1e6 }'
