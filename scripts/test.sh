#!/usr/bin/env bash
# Builds and runs every test. GUI tests run on Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/check-layers.sh
bash scripts/build.sh
# Each fuzz target runs for a bounded time first, so that the test summary
# stays the last thing printed.
bash scripts/fuzz.sh "${FUZZ_SECONDS:-60}"
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
ctest --test-dir build --output-on-failure --timeout 600
