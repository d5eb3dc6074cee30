#!/usr/bin/env bash
# vpsctl benchmark: "vpsctl servers --json" against the reference platform on loopback,
# sign-in and TLS handshake included, median of 20 runs (target: under 30 ms); and curl
# making the same two requests (the silent sign-in, then the first page with its cookie)
# in the same run, with the ratio of the medians (aim: at most 1.5).
# It also times "vpsctl --version", which loads the same libraries and does nothing else:
# the part of every run that is the machine's process start, not vpsctl's work.
# Timed with hyperfine when it is installed (apt-get install hyperfine), which subtracts
# its own shell's start; otherwise with date(1), whose own start adds a few ms per run.
#   bash bench/vpsctl.sh [BUILD_DIR]        (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD="${1:-build/release}"
RUNS="${RUNS:-20}"
CTL_BIN="$BUILD/src/vpsctl"
# shellcheck source=bench/bench-lib.sh
source bench/bench-lib.sh
bench_setup "$BUILD" src/vpsctl
BASE="https://127.0.0.1:$PORT"
export HOME="$WORK/home"
mkdir -p "$HOME"

echo demo2026 >"$WORK/password"

# The three command lines, each one program that the shell execs, so that a timer which
# subtracts its shell's start times the program alone ("exec": bash forks first for a
# command with a redirection, which would count a fork against vpsctl only).
CTL_LINE="exec '$CTL_BIN' --site 127.0.0.1:$PORT --ca-file '$CA' --account demo servers --json <'$WORK/password'"
CURL_LINE="exec curl -sf --cacert '$CA' -c '$WORK/jar' -o /dev/null"
CURL_LINE+=" --data 'username=demo&password=demo2026&khdkey=bench&zd=1&ver=Ver%204.92'"
CURL_LINE+=" '$BASE/user/khdloginpd'"
CURL_LINE+=" --next --cacert '$CA' -b '$WORK/jar' -X POST '$BASE/user/data/vpslist?page=1&limit=5&ljs=1'"
START_LINE="exec '$CTL_BIN' --version"

report() {
  echo "vpsctl servers --json: median $1 ms of $RUNS runs (target: under 30 ms)"
  echo "curl, the same two requests: median $2 ms"
  echo "vpsctl --version (process start only): median $3 ms"
  awk -v a="$1" -v b="$2" 'BEGIN {printf "ratio: %.2f (aim: at most 1.5)\n", a / b}'
}

if command -v hyperfine >/dev/null; then
  hyperfine --shell bash --warmup 3 --runs "$RUNS" --style none --export-json "$WORK/times.json" \
    "$CTL_LINE" "$CURL_LINE" "$START_LINE" >/dev/null
  read -r CTL_MEDIAN CURL_MEDIAN START_MEDIAN < <(python3 -c '
import json, sys
results = json.load(open(sys.argv[1]))["results"]
print(" ".join("%.1f" % (r["median"] * 1000) for r in results))' "$WORK/times.json")
  report "$CTL_MEDIAN" "$CURL_MEDIAN" "$START_MEDIAN"
  exit 0
fi

# Milliseconds of one run of a command line, its output thrown away; a failure ends the
# script.
time_ms() {
  local start end
  start="$(date +%s%N)"
  bash -c "$1" >/dev/null
  end="$(date +%s%N)"
  echo $(((end - start) / 1000))
}
median() { sort -n | awk '{v[NR] = $1} END {m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f", m / 1000}'; }

CTL_TIMES=()
CURL_TIMES=()
START_TIMES=()
for _ in $(seq 1 "$RUNS"); do
  CTL_TIMES+=("$(time_ms "$CTL_LINE")")
  CURL_TIMES+=("$(time_ms "$CURL_LINE")")
  START_TIMES+=("$(time_ms "$START_LINE")")
done
report "$(printf '%s\n' "${CTL_TIMES[@]}" | median)" "$(printf '%s\n' "${CURL_TIMES[@]}" | median)" \
  "$(printf '%s\n' "${START_TIMES[@]}" | median)"
