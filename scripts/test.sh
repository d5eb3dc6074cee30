#!/usr/bin/env bash
# Installs the dependencies, builds, and runs every test: the whole suite under
# ASan+UBSan (which a plain debug run would only repeat), then the network, platform and
# concurrency tests under TSan, then each fuzz target for a short run from its seeds, then
# the Debian packages: built, checked, installed, the installed client tried, purged.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
JOBS="$(nproc)"
# Widget tests draw offscreen; no display is needed.
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
# A compiler cache, when the machine has one, makes repeated runs much shorter.
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
for preset in asan tsan; do
  echo "=== ${preset} ==="
  cmake --preset "${preset}" >/dev/null
  if [ "${preset}" = tsan ]; then
    # The thread checker covers the code that runs requests on several threads.
    targets=(wire_tests platform_tests)
    if compgen -G "tests/concurrency/*.cpp" >/dev/null; then targets+=(concurrency_tests); fi
    cmake --build --preset tsan -j "${JOBS}" --target "${targets[@]}"
  else
    cmake --build --preset "${preset}" -j "${JOBS}"
  fi
  # Every test starts its own loopback servers on port 0, so tests run in parallel.
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    ctest --preset "${preset}" -j "${JOBS}"
done
# Ten seconds each replays the committed seeds and mutates a little beyond them; longer
# runs are for scripts/fuzz.sh by hand.
echo "=== fuzz ==="
bash scripts/fuzz.sh "${FUZZ_SECONDS:-10}"

echo "=== package ==="
bash scripts/package.sh
if [ "$(id -u)" -eq 0 ]; then
  apt-get install -y -qq ./build/packages/vpsdesk_*.deb ./build/packages/vpsdesk-platformd_*.deb >/dev/null
  VPSDESK_INSTALLED_BIN=/usr/bin build/asan/tests/e2e/e2e_tests --gtest_filter='InstalledClient.*'
  # Purging the packages leaves what a customer keeps in his own folders.
  keep="$(mktemp -d)"
  mkdir -p "${keep}/.local/share/vpsdesk" && echo kept >"${keep}/.local/share/vpsdesk/config.ini"
  apt-get purge -y -qq vpsdesk vpsdesk-platformd >/dev/null
  test ! -e /usr/bin/vpsdesk && test "$(cat "${keep}/.local/share/vpsdesk/config.ini")" = kept
  rm -rf "${keep}"
  echo "installed, tried and purged"
else
  echo "not root: the packages are built and checked but not installed"
fi
