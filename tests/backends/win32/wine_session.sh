# What the Windows program's checks share, sourced from the repository's top folder: a virtual
# X display and a fresh Wine prefix in a folder of their own ($work, removed at the end), the
# probe, and check, which counts the failures.
probe_exe="$PWD/build-windows/cmake/tests/backends/win32/win32_probe.exe"
work="$(mktemp -d)"
failures=0

# A display number nobody else uses, as the server itself picks it.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "no X server"; exit 1; }
display=":$(cat "$work/display")"
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY="$display" WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.2; done
wineboot -i >/dev/null 2>&1
wineserver -w

probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
check() {  # check NAME CONDITION...
  local name="$1"; shift
  if "$@"; then echo "ok    $name"; else echo "FAIL  $name"; failures=$((failures + 1)); fi
}
contains() { [[ "$1" == *"$2"* ]]; }

wait_end() {  # waits for the program to end
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || return 0; sleep 0.2; done
  return 1
}

stop() {  # asks the window to close as Windows would, then waits for the program to end
  wine taskkill /IM Tasklane.exe >/dev/null 2>&1
  wait_end
}
