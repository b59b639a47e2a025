#!/usr/bin/env bash
# Builds and starts the program. On first use (no settings folder of the
# user's yet) it makes an empty embedded archive and settings that point at it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build/bin/tallowin-cli archive init-default
exec build/bin/tallowin "$@"
