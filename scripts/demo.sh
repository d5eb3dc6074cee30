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
OUT="$(mktemp)"
RDP_HOME="$(mktemp -d)"
RDP_PASSWORD="Demo@Pass1"
PLATFORM_PID=""
SHADOW_PID=""
SHADOW_DISPLAY_PID=""
SHADOW_CARD_PID=""
cleanup() {
  for pid in $PLATFORM_PID $SHADOW_CARD_PID $SHADOW_PID $SHADOW_DISPLAY_PID; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$OUT" "$RDP_HOME"
}
trap cleanup EXIT INT TERM

# Something on the shared display that says which server this is (its address and a clock
# that ticks), so the first session shows a picture instead of a black screen.
show_server_card() {
  local display="$1" address="$2"
  command -v xsetroot >/dev/null && DISPLAY="$display" xsetroot -solid "#2B5C8A" || true
  command -v xterm >/dev/null || return 0
  DISPLAY="$display" LC_ALL=C.UTF-8 xterm -u8 -fa "WenQuanYi Micro Hei Mono" -fs 22 \
    -geometry 30x6+340+260 -bg "#1F4E79" -fg white -T "vpsdesk demo server" -e bash -c \
    'printf "\033[?25l"
     while :; do
       printf "\033[H\033[2J\n  vpsdesk 演示云服务器\n  %s\n  %s" "$1" "$(date "+%Y-%m-%d %H:%M:%S")"
       sleep 1
     done' card "$address" >/dev/null 2>&1 &
  SHADOW_CARD_PID=$!
}

# The loopback RDP server: a virtual display for it to share (Xvfb picks a free display
# number), a SAM file holding the administrator password, and freerdp-shadow-cli with NLA
# on a free port. Its home is a temporary folder, so its certificate is made afresh.
start_rdp_server() {
  for tool in Xvfb winpr-hash freerdp-shadow-cli stdbuf; do
    command -v "$tool" >/dev/null || { echo "No $tool: the demo runs without an RDP server." >&2; return 1; }
  done
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$RDP_HOME/display" 2>/dev/null &
  SHADOW_DISPLAY_PID=$!
  for _ in $(seq 1 100); do
    [ -s "$RDP_HOME/display" ] && break
    sleep 0.1
  done
  local display
  display=":$(head -n 1 "$RDP_HOME/display")"
  [ "$display" != ":" ] || { echo "Xvfb did not start: the demo runs without an RDP server." >&2; return 1; }
  winpr-hash -u administrator -p "$RDP_PASSWORD" -f sam >"$RDP_HOME/sam"
  # A port that looked free may be taken before the server binds it: try a few.
  for _ in 1 2 3 4 5; do
    RDP_PORT=$((40000 + RANDOM % 20000))
    DISPLAY="$display" HOME="$RDP_HOME" stdbuf -oL -eL freerdp-shadow-cli "/port:$RDP_PORT" \
      /bind-address:127.0.0.1 +auth /sec:nla "/sam-file:$RDP_HOME/sam" >"$DATA/shadow.log" 2>&1 &
    SHADOW_PID=$!
    for _ in $(seq 1 100); do
      if grep -q "Listening on" "$DATA/shadow.log"; then
        show_server_card "$display" "127.0.0.1:$RDP_PORT"
        return 0
      fi
      kill -0 "$SHADOW_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$SHADOW_PID" 2>/dev/null || true
    wait "$SHADOW_PID" 2>/dev/null || true
    SHADOW_PID=""
  done
  echo "The RDP server did not start (see $DATA/shadow.log): the demo runs without one." >&2
  return 1
}
RDP_ARGS=()
if start_rdp_server; then
  RDP_ARGS=(--rdp-address "127.0.0.1:$RDP_PORT" --rdp-password "$RDP_PASSWORD")
fi

# A fresh database each time, so the demo account is always there as described.
build/release/platformd/platformd --demo --port 0 --tls-dir "$DATA/tls" "${RDP_ARGS[@]}" \
  >"$OUT" 2>"$DATA/platformd.log" &
PLATFORM_PID=$!

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
