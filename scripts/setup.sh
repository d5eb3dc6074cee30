#!/usr/bin/env bash
# Installs every Debian package that building, testing and running vpsdesk needs.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "scripts/setup.sh installs Debian packages, which needs root. Run it as root" >&2
    echo "(su -c 'bash scripts/setup.sh'), or install sudo and give this user the right to" >&2
    echo "use it, then run it again." >&2
    exit 1
  fi
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  qt6-base-dev libcurl4-openssl-dev nlohmann-json3-dev libcpp-httplib-dev libpcre2-dev \
  libssl-dev zlib1g-dev libsqlite3-dev libgtest-dev libbenchmark-dev cmake g++ pkg-config \
  ninja-build xvfb xauth xdotool imagemagick fonts-wqy-microhei ca-certificates wrk \
  python3 freerdp2-x11 freerdp2-shadow-x11 winpr-utils xterm x11-xserver-utils >/dev/null
# Building and checking the Debian packages.
$SUDO apt-get install -y -qq --no-install-recommends \
  dpkg-dev file lintian desktop-file-utils appstream librsvg2-bin >/dev/null
# The fuzz targets need clang with its libFuzzer and sanitizer runtimes.
$SUDO apt-get install -y -qq --no-install-recommends clang libclang-rt-dev >/dev/null

# The end-to-end payment test drives Debian's Chromium through puppeteer-core from npm.
$SUDO apt-get install -y -qq --no-install-recommends chromium >/dev/null
if ! command -v npm >/dev/null; then
  $SUDO apt-get install -y -qq --no-install-recommends nodejs npm >/dev/null
fi
# Without the package the browser test skips, so a registry that cannot be reached does
# not stop the build and the other tests.
(cd "$(dirname "$0")/../tests/e2e/browser" && npm ci --no-audit --no-fund --loglevel=error) ||
  echo "npm ci failed in tests/e2e/browser: the browser payment test will skip" >&2
