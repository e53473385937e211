#!/usr/bin/env bash
# Builds and runs every benchmark; figures are ratios against a reference
# measured in the same run. jq is needed here only, as the reference of the
# command-line benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v jq >/dev/null; then
  SUDO=""; [[ $(id -u) -eq 0 ]] || SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq jq >/dev/null
fi
scripts/setup.sh plain >/dev/null
for b in build/bench/bench_*; do
  echo "== $b"
  "$b" 2>&1 | grep -E '^(BM_|Benchmark|-)' || true
done
echo "== window"
bench/window_start.sh build 10
