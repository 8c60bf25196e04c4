#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build,
# then the whole suite again under AddressSanitizer and UBSan.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bash "$ROOT/tools/setup.sh" build "$ROOT/build"
bash "$ROOT/tools/setup.sh" build "$ROOT/build-asan" -DDEMO_SANITIZE=ON -DDEMO_BENCH=OFF

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
echo "== tests =="
(cd "$ROOT/build" && ctest --output-on-failure -j2)
echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The media regeneration and the capture tool's checks are not sanitizer work.
(cd "$ROOT/build-asan" && ctest --output-on-failure -j2 -LE slow-tool)
