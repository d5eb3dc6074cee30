#!/usr/bin/env bash
# Start-up benchmark: time from exec to the login window's first paint, with the
# reference platform on loopback (the six start-up fetches, the version check, the
# updater write and the captcha included), median of 10 runs; and the peak resident set
# at that moment. Targets: under 300 ms and under 60 MB.
#   bash bench/startup.sh [BUILD_DIR]        (default build/release)
# Runs in a private Xvfb display unless BENCH_QPA=offscreen is set.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD="${1:-build/release}"
RUNS="${RUNS:-10}"
CLIENT_BIN="$BUILD/src/vpsdesk"
# shellcheck source=bench/bench-lib.sh
source bench/bench-lib.sh
bench_setup "$BUILD" src/vpsdesk

if [ "${BENCH_QPA:-}" = "offscreen" ]; then
  export QT_QPA_PLATFORM=offscreen
  unset DISPLAY
else
  exec 3>"$WORK/display"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  PIDS+=($!)
  for _ in $(seq 1 100); do [ -s "$WORK/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(cat "$WORK/display")"
  unset QT_QPA_PLATFORM WAYLAND_DISPLAY
fi

# The client runs from an install folder of its own, as a user would have it.
mkdir -p "$WORK/install" "$WORK/home/Documents"
cp "$CLIENT_BIN" "$WORK/install/vpsdesk"
export HOME="$WORK/home"

TIMES=()
RSS=()
for run in $(seq 1 "$RUNS"); do
  LOG="$WORK/events-$run.log"
  START="$(date +%s%N)"
  VPSDESK_EVENT_LOG="$LOG" "$WORK/install/vpsdesk" --site "127.0.0.1:$PORT" --ca-file "$CA" \
    >/dev/null 2>"$WORK/client-$run.err" &
  CLIENT=$!
  for _ in $(seq 1 400); do
    grep -q '^login-window-shown ' "$LOG" 2>/dev/null && break
    kill -0 "$CLIENT" 2>/dev/null || break
    sleep 0.05
  done
  LINE="$(grep '^login-window-shown ' "$LOG" || true)"
  kill "$CLIENT" 2>/dev/null || true
  wait "$CLIENT" 2>/dev/null || true
  if [ -z "$LINE" ]; then
    echo "run $run: the login window was not shown" >&2
    cat "$WORK/client-$run.err" >&2
    exit 1
  fi
  read -r _ SHOWN HWM <<<"$LINE"
  TIMES+=($(( (SHOWN - START) / 1000000 )))
  RSS+=("$HWM")
  echo "run $run: $(( (SHOWN - START) / 1000000 )) ms, peak RSS $(( HWM / 1024 )) MB"
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : int((a[NR/2]+a[NR/2+1])/2)}'; }
echo "median time to the login window: $(median "${TIMES[@]}") ms (target < 300 ms)"
echo "median peak RSS at the login window: $(( $(median "${RSS[@]}") / 1024 )) MB (target < 60 MB)"
