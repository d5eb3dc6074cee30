#!/usr/bin/env bash
# Builds and starts the client against the bundled reference platform.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
if [ ! -x build/release/src/vpsdesk ]; then
  echo "The client window is not built yet: only the web and data layer exists so far." >&2
  exit 1
fi
