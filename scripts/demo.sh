#!/usr/bin/env bash
# The demo: installs the dependencies, builds, starts the reference platform with its demo
# data and its own CA on a free loopback port, and starts the client against it.
# The platform stops when the client ends (or on Ctrl+C).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target vpsdesk platformd

DATA="${XDG_DATA_HOME:-$HOME/.local/share}/vpsdesk/demo"
mkdir -p "$DATA"
OUT="$(mktemp)"
# A fresh database each time, so the demo account is always there as described.
build/release/platformd/platformd --demo --port 0 --tls-dir "$DATA/tls" >"$OUT" 2>"$DATA/platformd.log" &
PLATFORM_PID=$!
cleanup() {
  kill "$PLATFORM_PID" 2>/dev/null || true
  wait "$PLATFORM_PID" 2>/dev/null || true
  rm -f "$OUT"
}
trap cleanup EXIT INT TERM

# platformd prints "url ..." last, once it serves.
for _ in $(seq 1 300); do
  grep -q '^url ' "$OUT" && break
  kill -0 "$PLATFORM_PID" 2>/dev/null || { cat "$DATA/platformd.log" >&2; exit 1; }
  sleep 0.1
done
PORT="$(sed -n 's/^port //p' "$OUT")"
CA="$(sed -n 's/^ca //p' "$OUT")"
if [ -z "$PORT" ] || [ -z "$CA" ]; then
  echo "The demo platform did not start; see $DATA/platformd.log" >&2
  exit 1
fi

echo "Demo platform: https://127.0.0.1:$PORT (CA $CA)"
ACCOUNT_LINE="$(grep '^demo account' "$OUT" || true)"
if [ -n "$ACCOUNT_LINE" ]; then
  echo "Demo ${ACCOUNT_LINE#demo }"
fi
echo "The captcha is the four digits in the picture; click the picture for a new one."

CLIENT=(build/release/src/vpsdesk --site "127.0.0.1:$PORT" --ca-file "$CA")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running the client in a virtual X display (xvfb-run -a)."
  xvfb-run -a -s "-screen 0 1280x800x24" "${CLIENT[@]}"
else
  "${CLIENT[@]}"
fi
