# shellcheck shell=bash
# Shared by the benchmark scripts (sourced, not run). bench_setup BUILD PROGRAM checks that
# BUILD holds PROGRAM (a path under it) and platformd, makes WORK (removed on exit with
# everything bench_spawn started) and starts the reference platform with its demo data on
# a free loopback port: afterwards PORT and CA are set.

PIDS=()
bench_cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}

bench_setup() {
  local build="$1" program="$2"
  local platform_bin="$build/platformd/platformd"
  for bin in "$build/$program" "$platform_bin"; do
    [ -x "$bin" ] || { echo "missing $bin; build it first" >&2; exit 1; }
  done
  WORK="$(mktemp -d)"
  trap bench_cleanup EXIT
  "$platform_bin" --demo --port 0 --tls-dir "$WORK/tls" >"$WORK/platform.out" 2>/dev/null &
  PIDS+=($!)
  for _ in $(seq 1 300); do grep -q '^url ' "$WORK/platform.out" && break; sleep 0.1; done
  PORT="$(sed -n 's/^port //p' "$WORK/platform.out")"
  CA="$(sed -n 's/^ca //p' "$WORK/platform.out")"
}
