#!/usr/bin/env bash
# The Windows program under Wine on a virtual X display: the core's unit tests and the canvas
# check as Windows programs (ctest in build-windows/cmake), then the real Tasklane.exe end to
# end, in a fresh folder per case, looked at from the X side (xprop, xdotool) and from the
# Win32 side (win32_probe.exe). Needs `scripts/build-windows -DTASKLANE_TESTS=ON` to have run.
# Exit code 0 when every case passed.
set -uo pipefail
cd "$(dirname "$0")/../../.."

exe="${TASKLANE_EXE:-$PWD/build-windows/bin/Tasklane.exe}"  # another build of it may be named
. tests/backends/win32/wine_session.sh

# A folder of its own with the program and a prepared list.
new_folder() {
  local folder="$work/$1"
  mkdir -p "$folder"
  cp "$exe" "$folder/"
  # A list as the program saves it, with its window at 200, 150.
  cp tests/backends/win32/prepared_list.xml "$folder/ToDoList.xml"
  echo "$folder"
}

start() {  # start FOLDER [ARGS]: in the background, from its folder
  local folder="$1"; shift
  (cd "$folder" && exec wine Tasklane.exe "$@" >/dev/null 2>&1) &
  program=$!
}

finish() {  # ends a case: a program that did not end is ended, so no later case meets it
  stop && return 0
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
}

x_window() { xwininfo -root -tree | awk '/"Tasklane": \("tasklane.exe" "tasklane.exe"\)/ && /370x211/ { print $1; exit }'; }

echo "== The unit tests and the canvas check, as Windows programs"
check "all pass under Wine" ctest --test-dir build-windows/cmake --output-on-failure

echo "== A start with a prepared list"
folder="$(new_folder prepared)"
start "$folder"
check "the window appears" probe wait visible 60
window="$(probe window)"
check "at the list's place and size" contains "$window" "bounds 200 150 370 211 visible 1"
check "top-most, a tool window, no task-bar button" contains "$window" "topmost 1 toolwindow 1 appwindow 0"
state="$(xprop -id "$(x_window)" _NET_WM_STATE 2>/dev/null)"
check "the window system keeps it above the others" contains "$state" "_NET_WM_STATE_ABOVE"
check "and out of the task bar" contains "$state" "_NET_WM_STATE_SKIP_TASKBAR"

echo "== Typing, then closing as Windows would"
# The task cell of the first row: the grid starts 30 pixels in; row 0 is the header.
xdotool mousemove 330 223 click 1
sleep 0.5
xdotool type --delay 20 "typed under wine"
xdotool key Return
sleep 0.5
check "a close request ends the program" stop
check "the typed text is saved once" test "$(grep -c '<Text>typed under wine</Text>' "$folder/ToDoList.xml")" = 1
check "no temporary file is left" test -z "$(ls "$folder" | grep 'tmp~backup')"

echo "== Ended by the task manager a second after typing"
folder="$(new_folder killed)"
start "$folder"
probe wait visible 60 >/dev/null
xdotool mousemove 330 223 click 1
sleep 0.5
xdotool type --delay 20 "kept anyway"
sleep 1.5
wine taskkill /F /IM Tasklane.exe >/dev/null 2>&1
check "a forced end ends it" wait_end
check "the list file is as it was" grep -q '<Text>prepared</Text>' "$folder/ToDoList.xml"
start "$folder"
check "the next start says what it restored" probe waitbox "Tasklane" 40
xdotool key Return
sleep 0.5
check "and closes as Windows asks" stop
check "with the typed text saved" grep -q '<Text>kept anyway</Text>' "$folder/ToDoList.xml"
check "and no recovery file left" test ! -e "$folder/ToDoList.xml.recovery"

echo "== The frame, the menu and the end of the session"
folder="$(new_folder frame)"
start "$folder"
probe wait visible 60 >/dev/null
check "corners, edges and the inside answer the hit test" test \
  "$(probe hittest 202 152) $(probe hittest 568 250) $(probe hittest 300 358) $(probe hittest 300 250)" = "13 11 15 1"
xdotool mousemove 215 250 click 1
sleep 1.5
check "a click on the red bar folds the window to it" contains "$(probe window)" "bounds 540 150 30 211"
xdotool mousemove 555 250 click 1
sleep 1.5
check "and a second one unfolds it" contains "$(probe window)" "bounds 200 150 370 211"
# A task cell, then the menu on it: its fifth item is "Add Row".
xdotool mousemove 330 223 click 1 click 3
sleep 1
xdotool key Down Down Down Down Down Return
sleep 0.5
check "the end of the session may come" contains "$(probe endsession)" "may end 1"
check "and ends the program" wait_end
check "with the row the menu added saved" grep -q '<RowCount>4</RowCount>' "$folder/ToDoList.xml"

echo "== Minimised"
start "$folder"
probe wait visible 60 >/dev/null
xdotool mousemove 535 165 click 1
check "the minimise button hides the window" probe wait hidden 10
(cd "$folder" && wine Tasklane.exe >/dev/null 2>&1)
check "a second start brings it back" probe wait visible 10
finish

echo "== The exit button"
folder="$(new_folder exit)"
start "$folder"
probe wait visible 60 >/dev/null
touch -d '2000-01-01' "$folder/ToDoList.xml"
# The close is posted from inside the click and runs once the click is through.
xdotool mousemove 555 165 click 1
check "ends the program" wait_end
check "with the list saved" test "$(stat -c %Y "$folder/ToDoList.xml")" -gt "$(date -d '2001-01-01' +%s)"
finish

echo "== A submenu, then minimised until the session ends"
folder="$(new_folder submenu)"
start "$folder"
probe wait visible 60 >/dev/null
# The task cell, the menu on it, its fourth item "Column ...", and there "Right Align".
xdotool mousemove 330 223 click 1 click 3
sleep 1
xdotool key Down Down Down Down Right
sleep 0.5
xdotool key Down Down Return
sleep 0.5
xdotool mousemove 535 165 click 1
probe wait hidden 10 >/dev/null
probe endsession >/dev/null
wait_end
check "the column's submenu sets its alignment" grep -q '<ColumnAlignment>RIGHT</ColumnAlignment>' "$folder/ToDoList.xml"
check "a minimised window keeps its place and size" \
  test "$(grep -c -E '<(Left>200|Top>150|Width>370|Height>211)<' "$folder/ToDoList.xml")" = 4
finish

echo "== Moving by the frame"
folder="$(new_folder moving)"
start "$folder"
probe wait visible 60 >/dev/null
# From the top strip 145 pixels up and 140 to the left: the top comes within 10 pixels of the
# screen's, and snaps there before the button is let go.
xdotool mousemove 300 160 mousedown 1
sleep 0.3
for _ in 1 2 3 4 5 6 7; do xdotool mousemove_relative -- -20 -20; sleep 0.05; done
xdotool mousemove_relative -- 0 -5
sleep 0.3
check "the window follows and snaps to the screen's edge as it moves" contains "$(probe window)" "bounds 60 0 370 211"
xdotool mouseup 1
finish

echo "== A first start"
folder="$work/first"
mkdir -p "$folder"
cp "$exe" "$folder/"
start "$folder"
guide="$(probe dialog 60)"
check "opens the guide with the close box only, owned by the main window (no task-bar button)" \
  contains "$guide" "close 1 minimize 0 maximize 0 sizing 0 owner 1 at "
read -r left top <<<"${guide##* at }"
reading="$(probe read "Tasklane Version 1.0")"
check "a screen reader reads the guide's hints whole, its links and its logo button" \
  contains "$reading" "text [Click on the red bar to shrink 'Tasklane' to a small bar on your desktop.]
text [Right click anywhere to open a menu with more options!]
text [Use the + and - to add or remove columns / rows]
text [More information here:]
link [www.tasklane.org]"
check "and the organizer's logo as a button named by its hint" contains "$reading" "button [Visit www.quillbox.com]"
# The middle button on the guide's picture moves it, as the left and the right one do.
xdotool mousemove 600 480 mousedown 2
sleep 0.3
for _ in 1 2 3 4; do xdotool mousemove_relative -- 10 10; sleep 0.1; done
xdotool mouseup 2
sleep 0.5
check "the middle button moves the guide" contains "$(probe dialog 5)" "at $((left + 40)) $((top + 40))"
finish

echo "== A second start"
start "$folder"
first=$program
probe wait visible 60 >/dev/null
probe hide >/dev/null
(cd "$folder" && wine Tasklane.exe >/dev/null 2>&1)
check "ends with exit code 0" test $? = 0
check "and brings the first window back" probe wait visible 10
program=$first
finish

echo "== Started hidden"
folder="$(new_folder hidden)"
start "$folder" -m
probe wait hidden 60 >/dev/null
sleep 3
check "-m hides the window after its first moment" contains "$(probe window)" "visible 0"
finish

echo "== Started hidden while the notification area refuses icons"
folder="$(new_folder refused)"
# Not through probe(): its filter would hold the line back until the end.
(wine "$probe_exe" refusetray 8 >"$work/refuse.log" 2>/dev/null) &
refuser=$!
for _ in $(seq 100); do grep -q refusing "$work/refuse.log" 2>/dev/null && break; sleep 0.2; done
start "$folder" -m
probe wait hidden 60 >/dev/null
wait "$refuser"
check "the icon goes in once the notification area takes it" contains "$(probe tray 10)" "icon 1"
probe trayclick select >/dev/null
check "and a click on it, as the shell reports it from mouse or keys, shows the window" probe wait visible 10
finish

echo "== Started from a shortcut set to run minimised"
folder="$(new_folder minimised)"
(cd "$folder" && exec wine start /wait /min Tasklane.exe >/dev/null 2>&1) &
program=$!
probe wait visible 60 >/dev/null
sleep 2
check "the window starts minimised and stays so" contains "$(probe window)" "minimized 1"
finish

echo "== A locked list file"
folder="$(new_folder locked)"
before="$(md5sum <"$folder/ToDoList.xml")"
start "$folder"
probe wait visible 60 >/dev/null
(probe lock "$(winepath -w "$folder/ToDoList.xml")" 40 >"$work/lock.log") &
locker=$!
for _ in $(seq 50); do grep -q locked "$work/lock.log" 2>/dev/null && break; sleep 0.2; done
wine taskkill /IM Tasklane.exe >/dev/null 2>&1
probe waitbox "Error at saving" 40 >/dev/null
check "the session may end while the close query's box is open" contains "$(probe endsession)" "may end 1"
box="$(probe box "Error at saving" 40)"
check "shows the save error" contains "$box" "It is not possible to save!"
finish
kill "$locker" 2>/dev/null
wineserver -k 2>/dev/null
check "leaves the list as it was" test "$(md5sum <"$folder/ToDoList.xml")" = "$before"
check "and keeps the temporary file, which holds the list" \
  grep -q prepared "$(ls -d "$folder"/ToDoList~tmp~backup~* 2>/dev/null | head -n 1)"

echo "== The system's code pages"
# reads LOCALE FIRST-LINE BYTES REFERENCES: a list in the system's code page (without a
# declaration) or in a charset only Windows knows (declared) comes back as its characters.
reads() {
  local folder
  folder="$(new_folder "codepage$RANDOM")"
  sed -i -e "1$2" -e "s/<Text>prepared</<Text>$3</" "$folder/ToDoList.xml"
  (cd "$folder" && exec env LC_ALL="$1" wine Tasklane.exe >/dev/null 2>&1) &
  program=$!
  probe wait visible 60 >/dev/null
  finish
  grep -q "<Text>$4</Text>" "$folder/ToDoList.xml"
}
check "a Russian Windows reads its own code page (1251)" \
  reads ru_RU.UTF-8 d '\xCC\xE8\xF0' '&#x041C;&#x0438;&#x0440;'
check "a Japanese Windows reads its own double-byte code page (932)" \
  reads ja_JP.UTF-8 d '\x93\xFA\x96\x7B' '&#x65E5;&#x672C;'
check "a declared charset that Windows knows is read" \
  reads C 's/iso-8859-1/shift_jis/' '\x93\xFA\x96\x7B' '&#x65E5;&#x672C;'

echo "== Read by a screen reader"
folder="$(new_folder reader)"
start "$folder"
probe wait visible 60 >/dev/null
reading="$(probe read)"
check "the window is named Tasklane" contains "$reading" "window [Tasklane]  expanded"
check "its table has the column titles as headers and each cell's text" contains "$reading" "table of 4 rows
row 0: header [Prio] = Prio header [Task] = Task
row 1: cell [1] = 1 cell [prepared] = prepared"
check "the frame's buttons are named by their hints" contains "$reading" "button [Make small]
button [Minimize]
button [Exit]
button [Add Row]"
automation="$(probe automation)"
check "UI Automation reads a table of header items and data items" contains "$automation" "  50036 []
    50034 []
      50035 [Prio]
      50035 [Task]
    50029 []
      50029 [1]
      50029 [prepared]"
check "and the buttons by their hints" contains "$automation" "  50000 [Add Row]"
check "a point on a cell finds that cell, where it is drawn" \
  test "$(probe hit 330 223)" = "cell [prepared] = prepared at 282 206 256 24"
xdotool mousemove 330 223 click 1
sleep 0.5
check "a click makes the cell the focus" contains "$(probe read)" "focus cell [prepared] = prepared"
# Not through probe(): its filter would hold the lines back until the end.
(wine "$probe_exe" events 6 >"$work/heard" 2>/dev/null) &
listener=$!
for _ in $(seq 100); do grep -q listening "$work/heard" 2>/dev/null && break; sleep 0.2; done
xdotool key Down
sleep 0.3
xdotool type --delay 60 "ab"
wait "$listener"
heard="$(tr -d '\r' <"$work/heard")"
check "Down moves the focus to the cell below" contains "$heard" "focus cell []"
check "typing focuses the editor, named by its column" contains "$heard" "focus editor [Task]"
check "and tells its text as it changes" contains "$heard" "value editor [Task] = ab"
xdotool key Return
sleep 0.5
check "the cell reads the typed text" contains "$(probe read)" "row 2: cell [] cell [ab] = ab"
probe press "Add Row" >/dev/null
sleep 1
check "a screen reader's press on Add Row adds a row" contains "$(probe read)" "table of 5 rows"
probe press "To make small click on the red bar" >/dev/null
sleep 1.5
reading="$(probe read)"
check "the red bar folds the window, which says so" contains "$reading" "window [Tasklane] Folded collapsed"
check "and shows no table" test -z "$(grep table <<<"$reading")"
finish

echo "== A screen of 192 dpi"
# Twice the pixels to the inch: the window is as large to the eye, so twice as many pixels.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
folder="$(new_folder dpi)"
start "$folder"
probe wait visible 60 >/dev/null
check "the window's place and size are scaled" contains "$(probe window)" "bounds 400 300 740 422"
check "the largest size stays as the system filled it" test "$(probe minmax 12345 6789)" = "max 12345 6789"
check "so is the hit test" test "$(probe hittest 404 304) $(probe hittest 1136 500) $(probe hittest 600 500)" = "13 11 1"
check "and a screen reader's, which finds a cell where it is drawn" \
  test "$(probe hit 660 446)" = "cell [prepared] = prepared at 564 412 512 48"
xdotool mousemove 660 446 click 1
sleep 0.5
xdotool type --delay 20 "sharp"
xdotool key Return
xdotool mousemove 430 500 click 1
sleep 1.5
check "a click on the scaled red bar folds the window" contains "$(probe window)" "bounds 1080 300 60 422"
xdotool mousemove 1110 500 click 1
sleep 1.5
check "what was typed into the scaled cell is saved" stop
check "with the list" grep -q '<Text>sharp</Text>' "$folder/ToDoList.xml"
check "and its place in logical pixels" \
  test "$(grep -c -E '<(Left>200|Top>150|Width>370|Height>211)<' "$folder/ToDoList.xml")" = 4
finish

echo "== $failures failed"
[ "$failures" -eq 0 ]
