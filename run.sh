#!/usr/bin/env bash
# Installs what is missing, builds and starts meteo-aprs.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
exec make run
