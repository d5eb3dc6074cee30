#!/usr/bin/env bash
# Builds the Debian packages (the "package" preset: release programs only) into
# build/packages/ and checks them: lintian, the menu entry and the AppStream data.
#   scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
cmake --preset package >/dev/null
cmake --build --preset package -j "$(nproc)"
rm -rf build/packages
cpack --preset package >/dev/null
ls build/packages/*.deb

desktop-file-validate packaging/org.vpsdesk.Client.desktop
appstreamcli validate --no-net packaging/org.vpsdesk.Client.metainfo.xml
# Errors fail the build; warnings are shown. Tags that do not apply to a package built
# outside a Debian source tree are not reported.
lintian --fail-on error --suppress-tags-from-file packaging/lintian-suppressed build/packages/*.deb
echo "packages built and checked"
