#!/usr/bin/env bash
# vpsctl benchmark: "vpsctl servers --json" against the reference platform on loopback,
# sign-in and TLS handshake included, median of 20 runs (target: under 30 ms); and curl
# making the same two requests (the silent sign-in, then the first page with its cookie)
# in the same run, with the ratio of the medians (aim: at most 1.5).
#   bash bench/vpsctl.sh [BUILD_DIR]        (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD="${1:-build/release}"
RUNS="${RUNS:-20}"
CTL_BIN="$BUILD/src/vpsctl"
PLATFORM_BIN="$BUILD/platformd/platformd"
for bin in "$CTL_BIN" "$PLATFORM_BIN"; do
  [ -x "$bin" ] || { echo "missing $bin; build it first" >&2; exit 1; }
done

WORK="$(mktemp -d)"
PLATFORM_PID=""
cleanup() {
  [ -n "$PLATFORM_PID" ] && kill "$PLATFORM_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

"$PLATFORM_BIN" --demo --port 0 --tls-dir "$WORK/tls" >"$WORK/platform.out" 2>/dev/null &
PLATFORM_PID=$!
for _ in $(seq 1 300); do grep -q '^url ' "$WORK/platform.out" && break; sleep 0.1; done
PORT="$(sed -n 's/^port //p' "$WORK/platform.out")"
CA="$(sed -n 's/^ca //p' "$WORK/platform.out")"
BASE="https://127.0.0.1:$PORT"
export HOME="$WORK/home"
mkdir -p "$HOME"

# Milliseconds of one run of the command, its output thrown away; a failure ends the script.
time_ms() {
  local start end
  start="$(date +%s%N)"
  "$@" >/dev/null
  end="$(date +%s%N)"
  echo $(((end - start) / 1000))
}
median() { sort -n | awk '{v[NR] = $1} END {m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f", m / 1000}'; }

ctl() {
  echo demo2026 | "$CTL_BIN" --site "127.0.0.1:$PORT" --ca-file "$CA" --account demo servers --json
}
two_requests() {
  curl -sf --cacert "$CA" -c "$WORK/jar" -o /dev/null \
    --data 'username=demo&password=demo2026&khdkey=bench&zd=1&ver=Ver%204.92' \
    "$BASE/user/khdloginpd" \
    --next --cacert "$CA" -b "$WORK/jar" -X POST "$BASE/user/data/vpslist?page=1&limit=5&ljs=1"
}

CTL_TIMES=()
CURL_TIMES=()
for _ in $(seq 1 "$RUNS"); do
  CTL_TIMES+=("$(time_ms ctl)")
  CURL_TIMES+=("$(time_ms two_requests)")
done
CTL_MEDIAN="$(printf '%s\n' "${CTL_TIMES[@]}" | median)"
CURL_MEDIAN="$(printf '%s\n' "${CURL_TIMES[@]}" | median)"
echo "vpsctl servers --json: median ${CTL_MEDIAN} ms of $RUNS runs (target: under 30 ms)"
echo "curl, the same two requests: median ${CURL_MEDIAN} ms"
awk -v a="$CTL_MEDIAN" -v b="$CURL_MEDIAN" 'BEGIN {printf "ratio: %.2f (aim: at most 1.5)\n", a / b}'
