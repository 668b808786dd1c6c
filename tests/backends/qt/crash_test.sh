#!/usr/bin/env bash
# The Linux program ended the hard way, as a user would meet it: typed into a cell, then
# killed with SIGKILL a second later; the next start must show the text. Then a power cut:
# the program runs on ext4 in a loop-mounted image, whose bytes are copied, unsynced, a second
# after the edit, and the program started again from the copy must show the text too (skipped
# with a message where this machine cannot mount loop devices). Needs a built build/bin/tasklane.
set -uo pipefail
cd "$(dirname "$0")/../../.."

exe="$PWD/build/bin/tasklane"
work="$(mktemp -d)"
failures=0
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "no X server"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
program=""
mounted=()
cleanup() {
  [ -n "$program" ] && kill -KILL "$program" 2>/dev/null
  for m in "${mounted[@]}"; do umount "$m" 2>/dev/null; done
  kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

check() {  # check NAME CONDITION...
  local name="$1"; shift
  if "$@"; then echo "ok    $name"; else echo "FAIL  $name"; failures=$((failures + 1)); fi
}

# A folder with the program and a list of one task at a known place on the screen.
prepare() {
  mkdir -p "$1/runtime"
  chmod 700 "$1/runtime"
  cp "$exe" "$1/tasklane"
  printf '%s' '<?xml version="1.0" encoding="iso-8859-1"?><ToDoList><WindowPosition><Left>200</Left><Top>150</Top><Width>370</Width><Height>211</Height></WindowPosition><ColumnInfo><RowCount>1</RowCount><ColumnCount>2</ColumnCount></ColumnInfo><ColumnHeader><Column><ColumnCaption>Prio</ColumnCaption><ColumnWidth>50</ColumnWidth><ColumnAlignment>LEFT</ColumnAlignment></Column><Column><ColumnCaption>Task</ColumnCaption><ColumnWidth>250</ColumnWidth><ColumnAlignment>LEFT</ColumnAlignment></Column></ColumnHeader><ToDoContent><Column><Text>1</Text><Text>old</Text></Column></ToDoContent></ToDoList>' >"$1/ToDoList.xml"
}

start() {  # start FOLDER: waits until its window shows
  (cd "$1" && XDG_RUNTIME_DIR="$1/runtime" exec ./tasklane >"$1/output.log" 2>&1) &
  program=$!
  for _ in $(seq 150); do
    local window
    window="$(xwininfo -root -tree | awk '/"Tasklane": \("tasklane" "Tasklane"\)/ && / 370x211/ { print $1; exit }')"
    if [ -n "$window" ] && xwininfo -id "$window" | grep -q 'Map State: IsViewable'; then
      sleep 1  # painted and active
      return 0
    fi
    sleep 0.2
  done
  cat "$1/output.log"
  return 1
}

# The second cell of the task row, then the text: typing replaces the cell's text.
type_edit() {
  xdotool mousemove 300 217 click 1
  sleep 0.5
  xdotool type --delay 30 "milk"
}

# Ends a start that recovered: the notice goes with Enter, then SIGTERM saves the list.
end_cleanly() {
  sleep 1
  xdotool key Return
  sleep 0.5
  kill -TERM "$program"
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  program=""
}

echo "== SIGKILL a second after typing"
folder="$work/kill"
prepare "$folder"
check "the window shows" start "$folder"
type_edit
sleep 1.5
kill -KILL "$program"; wait "$program" 2>/dev/null; program=""
check "the recovery file is there" test -s "$folder/ToDoList.xml.recovery"
check "the list file is as it was" grep -q "<Text>old</Text>" "$folder/ToDoList.xml"
check "the window shows again" start "$folder"
end_cleanly
check "the typed text is in the saved list" grep -q "<Text>milk</Text>" "$folder/ToDoList.xml"
check "a clean end leaves no recovery file" test ! -e "$folder/ToDoList.xml.recovery"

echo "== A power cut a second after typing"
image="$work/disk.img"
if [ "$(id -u)" -ne 0 ] || ! truncate -s 64M "$image" || ! mkfs.ext4 -q "$image" 2>/dev/null ||
   ! mkdir -p "$work/mnt" || ! mount -o loop "$image" "$work/mnt" 2>/dev/null; then
  echo "skip  this machine cannot mount a loop device (needs root and /dev/loop*)"
else
  mounted+=("$work/mnt")
  folder="$work/mnt/list"
  prepare "$folder"
  sync
  check "the window shows on the image" start "$folder"
  type_edit
  sleep 1.5
  # What the disk holds at this moment, without a sync: what a power cut leaves.
  cp --sparse=always "$image" "$work/cut.img"
  kill -KILL "$program"; wait "$program" 2>/dev/null; program=""
  umount "$work/mnt"; mounted=()
  mkdir -p "$work/cut"
  if mount -o loop "$work/cut.img" "$work/cut"; then
    mounted+=("$work/cut")
    check "the window shows after the cut" start "$work/cut/list"
    end_cleanly
    check "the typed text survived the cut" grep -q "<Text>milk</Text>" "$work/cut/list/ToDoList.xml"
  else
    check "the cut image mounts" false
  fi
fi

[ "$failures" -eq 0 ] && echo "all passed" || { echo "$failures failed"; exit 1; }
