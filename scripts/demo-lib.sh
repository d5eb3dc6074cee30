# shellcheck shell=bash
# Shared by scripts/demo.sh and scripts/screenshots.sh (sourced, not run): starts the
# reference platform with its demo data on a free loopback port, and a real RDP server
# (FreeRDP's shadow server, sharing a virtual display of its own) for the running demo
# servers to connect to. demo_cleanup stops everything started here.
#
# Before sourcing: DATA (a folder for logs and the platform's certificates) and
# PLATFORMD (the platform's executable). After demo_start_platform: PORT, CA and OUT (the
# platform's start-up lines). After demo_start_rdp_server: RDP_PORT, RDP_PASSWORD and
# RDP_ARGS (the platform's arguments for it; empty when no RDP server runs).

OUT="$(mktemp)"
RDP_HOME="$(mktemp -d)"
RDP_PASSWORD="Demo@Pass1"
RDP_ARGS=()
PLATFORM_PID=""
SHADOW_PID=""
SHADOW_DISPLAY_PID=""
SHADOW_CARD_PID=""

demo_cleanup() {
  for pid in $PLATFORM_PID $SHADOW_CARD_PID $SHADOW_PID $SHADOW_DISPLAY_PID; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$OUT" "$RDP_HOME"
}

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

demo_start_rdp_server() {
  RDP_ARGS=()
  if start_rdp_server; then
    RDP_ARGS=(--rdp-address "127.0.0.1:$RDP_PORT" --rdp-password "$RDP_PASSWORD")
  fi
}

# Starts the platform with a fresh database (so the demo account is always there as
# described); any arguments are passed on to it. Exits when it does not come up.
demo_start_platform() {
  "$PLATFORMD" --demo --port 0 --tls-dir "$DATA/tls" "${RDP_ARGS[@]}" "$@" \
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
}
