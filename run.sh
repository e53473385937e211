#!/usr/bin/env bash
# Installs what is missing, builds, starts the local stand-in of the
# short-link web API on a free loopback port, and opens the window against
# it; the stand-in stops when the window closes. Without a display, a
# shorten and a restore run through the command line instead.
# With arguments, runs the tool with them instead (./run.sh --help).
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh plain >/dev/null
bin=build/src/suozhi
api=build/tools/suozhi-api
if (($#)); then exec "$bin" "$@"; fi

state="${XDG_STATE_HOME:-$HOME/.local/state}/suozhi"
mkdir -p "$state"
work=$(mktemp -d)
"$api" --port 0 --db "$state/links.db" >"$work/out" 2>"$work/requests" &
api_pid=$!
trap 'kill "$api_pid" 2>/dev/null; wait "$api_pid" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do
  grep -q '^listening on ' "$work/out" && break
  kill -0 "$api_pid" 2>/dev/null || break
  sleep 0.05
done
host=$(sed -n 's|^listening on http://||p' "$work/out")
if [[ -z "$host" ]]; then
  echo "The local short-link API did not start:" >&2
  cat "$work/requests" >&2
  exit 1
fi
echo "Local short-link API at http://$host (links kept in $state/links.db)."

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  echo "Opening the window; the API stops when it closes."
  "$bin" --api-host "$host"
else
  echo "No display is available, so the window cannot open."
  echo "A shorten and a restore through the command line instead:"
  address="https://example.com/a/very/long/path/文档?query=短网址&page=2"
  link=$("$bin" shorten "$address" --type 2 --api-host "$host")
  echo "  suozhi shorten $address --type 2"
  echo "    -> $link"
  echo "  suozhi restore $link"
  echo "    -> $("$bin" restore "$link" --api-host "$host")"
  echo "Both lines are at the top of the run log: $(pwd)/build/src/运行日志.txt"
fi
