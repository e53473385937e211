#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: a plain build
# and one with AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh all
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
echo "== plain build"
ctest --test-dir build --output-on-failure -j "$(nproc)"
echo "== sanitized build"
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
