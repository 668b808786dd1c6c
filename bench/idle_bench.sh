#!/usr/bin/env bash
# How often the Linux program wakes while nobody touches it: shown, folded to its red bar, and
# hidden with -m, each for SECONDS on a virtual display with a window manager and a panel
# with a notification area. A measurement only: it prints figures and decides nothing.
#   bench/idle_bench.sh PROGRAM IDLE_WAKEUPS [SECONDS]
set -euo pipefail
program_exe="$(realpath "$1")"
counter="$(realpath "$2")"
seconds="${3:-20}"
work="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
openbox >/dev/null 2>&1 & pids+=($!)
trayer --edge top --align right --widthtype pixel --width 100 >/dev/null 2>&1 & pids+=($!)
sleep 2

window_of() {  # the program's main window, once it is viewable
  for _ in $(seq 100); do
    local id
    id="$(xwininfo -root -tree | awk '/"Tasklane": \("tasklane" "Tasklane"\)/ { print $1; exit }')"
    [ -n "$id" ] && echo "$id" && return 0
    sleep 0.1
  done
  return 1
}

measure() {  # measure LABEL [ARGS]: starts a fresh copy, lets it settle, counts its wakeups
  local label="$1"; shift
  local folder="$work/$label"
  mkdir -p "$folder/runtime"
  chmod 700 "$folder/runtime"
  cp "$program_exe" "$folder/tasklane"
  # A list of its own without the guide, which a first start opens.
  printf '%s' '<?xml version="1.0" encoding="iso-8859-1"?><ToDoList><WindowPosition><Left>200</Left><Top>150</Top><Width>370</Width><Height>211</Height></WindowPosition><ColumnInfo><RowCount>1</RowCount><ColumnCount>1</ColumnCount></ColumnInfo><ColumnHeader><Column><ColumnCaption>Task</ColumnCaption><ColumnWidth>200</ColumnWidth><ColumnAlignment>LEFT</ColumnAlignment></Column></ColumnHeader><ToDoContent><Column><Text>idle</Text></Column></ToDoContent></ToDoList>' >"$folder/ToDoList.xml"
  (cd "$folder" && XDG_RUNTIME_DIR="$folder/runtime" exec ./tasklane "$@" >/dev/null 2>&1) &
  local pid=$!
  pids+=("$pid")
  sleep 3
  if [ "$label" = folded ]; then
    local id
    id="$(window_of)"
    eval "$(xdotool getwindowgeometry --shell "$id")"
    xdotool mousemove $((X + 10)) $((Y + 100)) click 1
    sleep 2
    xdotool mousemove 5 700  # away, so no hint waits
    sleep 1
  fi
  printf '%-8s ' "$label"
  "$counter" "$pid" "$seconds"
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

echo "Wakeups a second while idle, over $seconds s each (all threads' context switches)"
measure shown
measure folded
measure hidden -m
