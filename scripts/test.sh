#!/usr/bin/env bash
# Builds and runs every test. GUI tests run on Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 600
