#!/usr/bin/env bash
# The Debian package, installed as a user would: with apt when we are root (as in CI), which
# also checks that its dependencies resolve; otherwise unpacked into a scratch root whose bin
# folder is made read-only. The installed program then starts hidden as an ordinary user,
# ends on SIGTERM, and must have saved its list in that user's data folder.
set -euo pipefail
cd "$(dirname "$0")/../.."

deb=$(scripts/package | tail -n 1)
work=$(mktemp -d)
failed=0
check() {  # check "what" command...
  local what=$1
  shift
  if "$@"; then echo "ok    $what"; else echo "FAIL  $what"; failed=1; fi
}

if [ "$(id -u)" -eq 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
  trap 'dpkg -r tasklane >/dev/null 2>&1 || true; kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
  root=""
  user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
  dpkg-deb -x "$deb" "$work/root"
  chmod a-w "$work/root/usr/bin"
  trap 'chmod -R u+w "$work"; kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
  root="$work/root"
  user=()
fi
echo "== $(basename "$deb") installed${root:+ into a scratch root}"

check "the desktop entry is valid" desktop-file-validate "$root/usr/share/applications/tasklane.desktop"
for size in 16 24 32 48 64 128 256; do
  check "icon of ${size} pixels" test -s "$root/usr/share/icons/hicolor/${size}x${size}/apps/tasklane.png"
done
check "the manual page" test -s "$root/usr/share/man/man1/tasklane.1.gz"

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -ac 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "no X server"; exit 1; }

home="$work/home"
mkdir -p "$home"
if [ ${#user[@]} -gt 0 ]; then
  chmod 755 "$work"
  chown nobody:nogroup "$home"
fi
env -i PATH=/usr/bin:/bin HOME="$home" DISPLAY=":$(cat "$work/display")" "${user[@]}" \
  "$root/usr/bin/tasklane" -m >"$work/program.log" 2>&1 &
program=$!
list="$home/.local/share/Tasklane/ToDoList.xml"
# Up once its window has been on the screen.
for _ in $(seq 200); do
  DISPLAY=":$(cat "$work/display")" xwininfo -root -children 2>/dev/null | grep -q '"Tasklane"' && break
  sleep 0.1
done
sleep 0.5
kill -TERM "$program"
# A program that does not end (a message box waiting for a click, say) fails the check.
for _ in $(seq 200); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
check "SIGTERM ends the program" bash -c "! kill -0 $program 2>/dev/null"
kill -KILL "$program" 2>/dev/null || true
wait "$program" || true

check "the list is saved in the data folder" grep -q "Click here for new task" "$list"
check "the data folder is its owner's only" test "$(stat -c %a "$(dirname "$list")")" = 700
check "nothing is written beside the program" test ! -e "$root/usr/bin/ToDoList.xml"
[ "$failed" -eq 0 ] || { cat "$work/program.log"; exit 1; }
