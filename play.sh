#!/usr/bin/env bash
# Installs what is missing, builds, and plays the demo full screen.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bash "$ROOT/tools/setup.sh" build "$ROOT/build"
# The demo reads its pictures and sounds from the working directory.
cd "$ROOT/media"
exec "$ROOT/build/demo"
