#!/usr/bin/env bash
# Refreshes the pictures in docs/screenshots: runs the demo (platform, loopback RDP server)
# with the client on a virtual display of its own, signs in as the demo customer, and
# photographs the login window, the main window, the server menu, the settings window and
# a remote session.
#   bash scripts/screenshots.sh            1280x800: login, main, menu, settings, session
#   bash scripts/screenshots.sh --scale 2  2560x1600 at QT_SCALE_FACTOR=2: login@2x, main@2x,
#                                          settings@2x
# VPSDESK_BIN_DIR=folder uses the programs built there (src/vpsdesk, platformd/platformd)
# instead of building the release ones.
set -euo pipefail
cd "$(dirname "$0")/.."

SCALE=1
while [ $# -gt 0 ]; do
  case "$1" in
    --scale) SCALE="${2:?--scale needs a whole number}"; shift 2 ;;
    --scale=*) SCALE="${1#--scale=}"; shift ;;
    *) echo "usage: $0 [--scale N]" >&2; exit 2 ;;
  esac
done
case "$SCALE" in ''|*[!0-9]*|0) echo "--scale takes a whole number from 1" >&2; exit 2 ;; esac

for tool in Xvfb xdotool import python3; do
  command -v "$tool" >/dev/null || { echo "No $tool: run scripts/setup.sh first." >&2; exit 1; }
done

BIN_DIR="${VPSDESK_BIN_DIR:-}"
if [ -z "$BIN_DIR" ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release -j "$(nproc)" --target vpsdesk platformd
  BIN_DIR=build/release
fi

SHOTS=docs/screenshots
mkdir -p "$SHOTS"
SUFFIX=""
[ "$SCALE" = 1 ] || SUFFIX="@${SCALE}x"
SCREEN_W=$((1280 * SCALE))
SCREEN_H=$((800 * SCALE))

# Everything the run writes stays in one temporary folder: the client gets a fresh home
# and a program folder of its own, so no earlier run's settings show in the pictures.
WORK="$(mktemp -d)"
DATA="$WORK/demo"
mkdir -p "$DATA" "$WORK/home" "$WORK/bin"
PLATFORMD="$BIN_DIR/platformd/platformd"
cp "$BIN_DIR/src/vpsdesk" "$WORK/bin/vpsdesk"
EVENTS="$WORK/events.log"
: >"$EVENTS"
TOKEN="shots-$RANDOM$RANDOM"

# shellcheck source=scripts/demo-lib.sh
source scripts/demo-lib.sh
DISPLAY_PID=""
CLIENT_PID=""
finish() {
  for pid in $CLIENT_PID $DISPLAY_PID; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  # The remote-desktop client is the client's child; it ends with the display.
  demo_cleanup
  rm -rf "$WORK"
}
trap finish EXIT INT TERM

fail() {
  echo "screenshots: $*" >&2
  echo "--- client events:" >&2
  cat "$EVENTS" >&2
  exit 1
}

# Waits up to $2 seconds (default 30) for a line of the client's event log to begin with $1.
wait_event() {
  local tenths=$((${2:-30} * 10))
  for _ in $(seq 1 "$tenths"); do
    grep -q "^$1" "$EVENTS" && return 0
    kill -0 "$CLIENT_PID" 2>/dev/null || fail "the client ended while waiting for $1"
    sleep 0.1
  done
  fail "no $1 in the client's event log"
}

# The id of the newest visible window whose title matches $1.
wait_window() {
  local id
  id="$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | tail -n 1)" ||
    fail "no window named $1"
  echo "$id"
}

# The id of the client's visible window of the given (unscaled) size, waiting up to 30 s.
wait_window_sized() {
  local want="$(($1 * SCALE))x$(($2 * SCALE))" id size
  for _ in $(seq 1 300); do
    for id in $(xdotool search --onlyvisible --pid "$CLIENT_PID" 2>/dev/null); do
      size="$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/^ *Geometry: //p')"
      if [ "$size" = "$want" ]; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  fail "no window of $want"
}

# Sets WX, WY (the window's top-left corner on the screen) for window $1.
window_origin() {
  eval "$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^X=/WX=/p; s/^Y=/WY=/p')"
}

# Acts at a point given in the window's own (unscaled) coordinates.
at() {
  xdotool mousemove "$((WX + $1 * SCALE))" "$((WY + $2 * SCALE))"
}

shot_window() {
  import -window "$1" "$SHOTS/$2$SUFFIX.png"
  echo "saved $SHOTS/$2$SUFFIX.png"
}

# The virtual display for the client.
Xvfb -displayfd 3 -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -nolisten tcp 3>"$WORK/display" \
  2>/dev/null &
DISPLAY_PID=$!
for _ in $(seq 1 100); do
  [ -s "$WORK/display" ] && break
  sleep 0.1
done
[ -s "$WORK/display" ] || fail "Xvfb did not start"
DISPLAY=":$(head -n 1 "$WORK/display")"
export DISPLAY

if [ "$SCALE" = 1 ]; then
  demo_start_rdp_server
  [ "${#RDP_ARGS[@]}" -gt 0 ] || { cat "$DATA/shadow.log" >&2 || true; fail "no RDP server"; }
fi
demo_start_platform --control-token "$TOKEN"
BASE="https://127.0.0.1:$PORT"

HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/data" XDG_CONFIG_HOME="$WORK/home/config" \
  XDG_CACHE_HOME="$WORK/home/cache" VPSDESK_EVENT_LOG="$EVENTS" QT_QPA_PLATFORM=xcb \
  QT_SCALE_FACTOR="$SCALE" LANG=C.UTF-8 \
  "$WORK/bin/vpsdesk" --site "127.0.0.1:$PORT" --ca-file "$CA" >"$WORK/client.log" 2>&1 &
CLIENT_PID=$!

# The login window: it slides its panel in and fades the version line in after it shows.
wait_event login-window-shown
LOGIN="$(wait_window_sized 700 460)"
sleep 2
window_origin "$LOGIN"

# The captcha's answer, once the client has fetched its picture.
ANSWER=""
for _ in $(seq 1 100); do
  ANSWER="$(python3 - "$BASE/__control/captcha" "$CA" "$TOKEN" <<'PY' 2>/dev/null || true
import json, ssl, sys, urllib.request
url, ca, token = sys.argv[1:]
request = urllib.request.Request(url, headers={"X-Control-Token": token})
with urllib.request.urlopen(request, context=ssl.create_default_context(cafile=ca)) as reply:
    print(json.load(reply).get("answer", ""))
PY
)"
  [ -n "$ANSWER" ] && break
  sleep 0.1
done
[ -n "$ANSWER" ] || fail "the platform has no captcha answer"

# The panel's boxes, from the login page's layout: account, password, captcha, button.
PANEL_X=68
PANEL_Y=110
at $((PANEL_X + 150)) $((PANEL_Y + 17)); xdotool click 1; xdotool type --delay 20 demo
at $((PANEL_X + 150)) $((PANEL_Y + 63)); xdotool click 1; xdotool type --delay 20 demo2026
at $((PANEL_X + 90)) $((PANEL_Y + 109)); xdotool click 1; xdotool type --delay 20 "$ANSWER"
at 0 0
sleep 0.5
shot_window "$LOGIN" login
at $((PANEL_X + 150)) $((PANEL_Y + 191)); xdotool click 1

# The main window with the demo customer's servers.
wait_event main-window-shown 60
wait_event server-list-rows 60
MAIN="$(wait_window_sized 980 640)"
# The platform's notice pops up over it once: read, and closed.
if NOTICE="$(timeout 15 xdotool search --sync --onlyvisible --name "公告" | tail -n 1)" &&
  [ -n "$NOTICE" ]; then
  sleep 0.5
  xdotool key Return
fi
sleep 2
window_origin "$MAIN"
at 0 0
shot_window "$MAIN" main

# The server list's first row (below its header) is a running server.
FIRST_ROW_X=300
FIRST_ROW_Y=207
if [ "$SCALE" = 1 ]; then
  at "$FIRST_ROW_X" "$FIRST_ROW_Y"; xdotool click 3
  sleep 0.5
  # The menu opens at the pointer, with no entry chosen; the third holds the sub-menu.
  xdotool key Down Down Down Right
  sleep 1
  # The menu stays within the main window: the picture is of that part of the screen.
  import -window root -crop "$((980 * SCALE))x$((640 * SCALE))+$WX+$WY" +repage "$SHOTS/menu.png"
  echo "saved $SHOTS/menu.png"
  xdotool key Escape Escape
  sleep 0.5
fi

# The settings window opens from the caption's "设置".
at 855 44; xdotool click 1
SETTINGS="$(wait_window "功能设置")"
sleep 1
shot_window "$SETTINGS" settings
# It closes through its caption's "×" only, like every window of the client.
SETTINGS_W="$(xdotool getwindowgeometry "$SETTINGS" | sed -n 's/^ *Geometry: \([0-9]*\)x.*/\1/p')"
window_origin "$SETTINGS"
at $((SETTINGS_W / SCALE - 14)) 14; xdotool click 1
sleep 1

if [ "$SCALE" = 1 ]; then
  window_origin "$MAIN"
  at "$FIRST_ROW_X" "$FIRST_ROW_Y"; xdotool click --repeat 2 --delay 100 1
  SESSION="$(timeout 60 xdotool search --sync --onlyvisible --classname xfreerdp | tail -n 1)" ||
    fail "no remote-desktop window"
  # The first frames of the shared display take a moment to arrive.
  sleep 5
  shot_window "$SESSION" session
fi
