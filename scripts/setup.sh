#!/usr/bin/env bash
# Installs the Debian packages the project needs (only when some are missing)
# and builds it. Usage: scripts/setup.sh [plain|asan|all]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  duktape-dev libpcre2-dev libcurl4-openssl-dev libsqlite3-dev libcpp-httplib-dev
  qt6-base-dev fonts-wqy-microhei
  xvfb xauth xclip xdotool x11-utils curl
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  SUDO=""
  [[ $(id -u) -eq 0 ]] || SUDO="sudo"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

jobs=$(nproc)
build() {  # build DIR [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

case "${1:-plain}" in
  plain) build build ;;
  asan) build build-asan -DSUOZHI_SANITIZE=ON -DSUOZHI_BENCH=OFF ;;
  all) build build && build build-asan -DSUOZHI_SANITIZE=ON -DSUOZHI_BENCH=OFF ;;
  *) echo "usage: $0 [plain|asan|all]" >&2; exit 2 ;;
esac
