#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Tallowin needs.
# Idempotent: packages already installed are left alone, and nothing is fetched
# when everything is present.
set -euo pipefail

packages=(
  # build tools, and clang with libFuzzer for the fuzz targets
  cmake ninja-build g++ pkg-config git clang libclang-rt-14-dev clang-format
  # Qt 6: Widgets, Sql (Firebird driver), WebEngine, PrintSupport, Test
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libqt6sql6-ibase libgl-dev
  # mail, network and crypto libraries
  libgmime-3.0-dev libcurl4-openssl-dev libssl-dev
  # Firebird 3.0: client library, embedded engine, headers and tools, and the
  # server that the server-mode tests start privately on 127.0.0.1
  libfbclient2 firebird3.0-server-core firebird3.0-utils firebird-dev firebird3.0-server
  # a Japanese UI font, and a virtual X server for screenshots and GUI runs
  fonts-noto-cjk xvfb xauth
  # external programs the application drives
  gnupg
  # test helpers
  python3 xdg-utils
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  echo "install-deps: all packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
