#!/usr/bin/env bash
# The demo: installs the dependencies, builds, starts the reference platform with its demo
# data and its own CA on a free loopback port, and starts the client against it.
# A real RDP server (FreeRDP's shadow server, sharing a virtual display of its own) runs on
# loopback behind the running demo servers, so a double-click opens a real session.
# The platform and the RDP server stop when the client ends (or on Ctrl+C).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target vpsdesk platformd

DATA="${XDG_DATA_HOME:-$HOME/.local/share}/vpsdesk/demo"
mkdir -p "$DATA"
PLATFORMD=build/release/platformd/platformd
# shellcheck source=scripts/demo-lib.sh
source scripts/demo-lib.sh
trap demo_cleanup EXIT INT TERM
demo_start_rdp_server
demo_start_platform

echo "Demo platform: https://127.0.0.1:$PORT (CA $CA)"
ACCOUNT_LINE="$(grep '^demo account' "$OUT" || true)"
if [ -n "$ACCOUNT_LINE" ]; then
  echo "Demo ${ACCOUNT_LINE#demo }"
fi
if grep -q '^  card ' "$OUT"; then
  echo "Recharge cards for 卡密激活 (number / password):"
  grep '^  card ' "$OUT" | sed 's/^  card /  /'
fi
echo "The captcha is the four digits in the picture; click the picture for a new one."
echo "Registering: the platform's text messages (the SMS code) are printed here."
# The demo platform sends no real text messages; its log carries them instead. The follower
# ends with the platform.
tail -n 0 -F --pid="$PLATFORM_PID" "$DATA/platformd.log" 2>/dev/null |
  sed -un 's/^\[sms\] to \([^:]*\): /SMS to \1: /p' &
if [ "${#RDP_ARGS[@]}" -gt 0 ]; then
  echo "Running servers connect to the loopback RDP server 127.0.0.1:$RDP_PORT" \
    "(administrator / $RDP_PASSWORD): double-click one."
fi

CLIENT=(build/release/src/vpsdesk --site "127.0.0.1:$PORT" --ca-file "$CA")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running the client in a virtual X display (xvfb-run -a)."
  xvfb-run -a -s "-screen 0 1280x800x24" "${CLIENT[@]}"
else
  "${CLIENT[@]}"
fi
