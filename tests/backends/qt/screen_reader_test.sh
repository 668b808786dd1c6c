#!/usr/bin/env bash
# The Linux program as a screen reader meets it: started on a virtual display inside a D-Bus
# session with the AT-SPI registry, then read and driven by screen_reader_probe.py. Needs a
# built build/bin/tasklane, at-spi2-core and python3-pyatspi.
set -uo pipefail
cd "$(dirname "$0")/../../.."

if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || [ -z "${TASKLANE_IN_SESSION:-}" ]; then
  TASKLANE_IN_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi

exe="$PWD/build/bin/tasklane"
probe="$PWD/tests/backends/qt/screen_reader_probe.py"
work="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "no X server"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  kill "$bus" "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A list of two tasks, the first column right-aligned, so that no first-start guide shows.
mkdir -p "$work/runtime"
chmod 700 "$work/runtime"
cp "$exe" "$work/tasklane"
printf '%s' '<?xml version="1.0" encoding="iso-8859-1"?><ToDoList><WindowPosition><Left>200</Left><Top>150</Top><Width>370</Width><Height>211</Height></WindowPosition><ColumnInfo><RowCount>2</RowCount><ColumnCount>2</ColumnCount></ColumnInfo><ColumnHeader><Column><ColumnCaption>Prio</ColumnCaption><ColumnWidth>50</ColumnWidth><ColumnAlignment>RIGHT</ColumnAlignment></Column><Column><ColumnCaption>Task</ColumnCaption><ColumnWidth>250</ColumnWidth><ColumnAlignment>LEFT</ColumnAlignment></Column></ColumnHeader><ToDoContent><Column><Text>1</Text><Text>first</Text></Column><Column><Text>2</Text><Text>second</Text></Column></ToDoContent></ToDoList>' >"$work/ToDoList.xml"

(cd "$work" && XDG_RUNTIME_DIR="$work/runtime" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 exec ./tasklane >"$work/output.log" 2>&1) &
program=$!
# Debian's own python3, which has pyatspi; a python3 of another installation comes first on
# some PATHs.
/usr/bin/python3 "$probe"
status=$?
[ $status -ne 0 ] && cat "$work/output.log"
exit $status
