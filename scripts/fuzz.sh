#!/usr/bin/env bash
# Builds the libFuzzer targets (the "fuzz" preset, clang) and runs each for SECONDS
# (default 10), starting from its committed seed corpus. New inputs go to
# build/fuzz/corpus/<target>, crashes to build/fuzz/artifacts/<target>/; the committed
# seeds are left as they are. Exits non-zero when any target finds a fault.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
shift || true
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

build=build/fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/*_fuzzer.cpp; do targets+=("$(basename "${source}" .cpp)"); done
fi

failed=()
for target in "${targets[@]}"; do
  work="${build}/corpus/${target}"
  artifacts="${build}/artifacts/${target}/"
  mkdir -p "${work}" "${artifacts}" "fuzz/corpus/${target}"
  log="${build}/${target}.log"
  echo "=== ${target}: ${seconds} s"
  # Leaks are checked by the unit suites; here they would stop a long run on a cache.
  if ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1 \
     UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
     "${build}/fuzz/${target}" -max_total_time="${seconds}" -timeout=10 -rss_limit_mb=2048 \
       -max_len=16384 -print_final_stats=1 -artifact_prefix="${artifacts}" \
       "${work}" "fuzz/corpus/${target}" >"${log}" 2>&1; then
    grep -E '^stat::number_of_executed_units' "${log}" | sed "s/^/${target}: /"
  else
    failed+=("${target}")
    tail -n 40 "${log}"
    echo "${target}: FAILED (log ${log}, inputs in ${artifacts})"
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fault found by: ${failed[*]}"
  exit 1
fi
echo "${#targets[@]} passed, 0 failed"
