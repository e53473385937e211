#!/usr/bin/env bash
# Time from start to the window mapped, and the idle window's resident
# memory, for the tool and for a bare Qt window of the same size, under one
# Xvfb in the same run. Usage: bench/window_start.sh BUILD_DIR [ROUNDS]
set -euo pipefail
build=${1:-build}
rounds=${2:-10}
# A display of its own for the run.
if [[ -z "${SUOZHI_BENCH_DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env SUOZHI_BENCH_DISPLAY=1 "$0" "$@"
fi

measure() {  # measure TITLE COMMAND... -> "median_ms rss_kib"
  local title=$1; shift
  local times=() rss=0 failed=0
  while ((${#times[@]} < rounds)); do
    local t0 t1 pid
    t0=$(date +%s%N)
    "$@" >/dev/null 2>"${TMPDIR:-/tmp}/window_start.err" &
    pid=$!
    # Under rapid starts Xvfb now and then refuses a connection; such a
    # start is counted and tried again.
    local mapped=1
    until timeout 2 xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
      if ! kill -0 "$pid" 2>/dev/null; then
        mapped=0
        break
      fi
      sleep 0.02
    done
    if ((!mapped)); then
      wait "$pid" 2>/dev/null || true
      if ((++failed > rounds)); then
        echo "$title did not start:" >&2
        cat "${TMPDIR:-/tmp}/window_start.err" >&2
        exit 1
      fi
      continue
    fi
    t1=$(date +%s%N)
    times+=($(((t1 - t0) / 1000000)))
    sleep 1
    rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
    kill "$pid"; wait "$pid" 2>/dev/null || true
  done
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
  echo "$median $rss $failed"
}

read -r tool_ms tool_rss tool_failed < <(measure "缩址精灵" "$build/src/suozhi" --api-host 127.0.0.1:1)
read -r bare_ms bare_rss bare_failed < <(measure "bare-qt-window" "$build/bench/bare_qt_window")
echo "start to mapped window: suozhi ${tool_ms} ms, bare Qt window ${bare_ms} ms, ratio $(awk "BEGIN {printf \"%.2f\", $tool_ms / $bare_ms}")"
echo "starts refused by the X server and tried again: suozhi $tool_failed, bare $bare_failed"
echo "idle resident memory:   suozhi ${tool_rss} KiB, bare Qt window ${bare_rss} KiB, ratio $(awk "BEGIN {printf \"%.2f\", $tool_rss / $bare_rss}")"
