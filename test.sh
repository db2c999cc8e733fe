#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole suite headless, plainly
# and under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
exec make test
