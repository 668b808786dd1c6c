#!/usr/bin/env bash
# The installer under Wine: its tables as msiinfo reads them, then a silent install for the
# current user, the installed program in a folder it may not write, an upgrade to a higher
# version and the uninstall, each with the user's list kept. Needs scripts/package-windows
# (with -DTASKLANE_TESTS=ON, for the probe) to have run. Exit code 0 when every case passed.
set -uo pipefail
cd "$(dirname "$0")/../../.."

version="$(sed -n 's/^project(Tasklane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
msi="$PWD/build-windows/Tasklane-$version.msi"
. tests/backends/win32/wine_session.sh

echo "== The installer's tables"
table() { msiinfo export "$msi" "$1" 2>/dev/null | tr -d '\r'; }
check "a stable upgrade code, for upgrades in place" contains "$(table Upgrade)" "{A64D2E37-1C20-4CCC-BAF2-14E4982CA001}"
check "older versions are removed" contains "$(table InstallExecuteSequence)" "RemoveExistingProducts"
check "a Start-menu shortcut to the installed program" \
  contains "$(table Shortcut)" "StartMenuTasklane	ProgramMenuFolder	Tasklane	StartMenuShortcut	[INSTALLDIR]Tasklane.exe"
check "with the program's identity" contains "$(table MsiShortcutProperty)" "StartMenuTasklane	{9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3} 5	Tasklane.Tasklane"
properties="$(table Property)"
check "the entry in Apps and features has the icon" contains "$properties" "ARPPRODUCTICON	ProgramIcon.ico"
check "the publisher" contains "$properties" "Manufacturer	The Tasklane developers"
check "and the version" contains "$properties" "ProductVersion	$version"
check "autostart is a feature of its own, with -m" contains "$(table Shortcut)" "StartupTasklane	StartupFolder	Tasklane	AutostartShortcut	[INSTALLDIR]Tasklane.exe	-m"

echo "== Installed for the current user"
users="$WINEPREFIX/drive_c/users/$(id -un)"
installed="$users/AppData/Local/Programs/Tasklane"
roaming="$users/AppData/Roaming/Tasklane"
shortcut="$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tasklane.lnk"
check "a silent install works" wine msiexec /i "$msi" /qn
check "the program is in the user's programs" test -f "$installed/Tasklane.exe"
check "the Start menu has its shortcut" test -f "$shortcut"
check "which leads to it" grep -q -a "Programs.Tasklane.Tasklane.exe" <(tr -d '\0' <"$shortcut")
check "no autostart unless asked for" test -z "$(find "$users" -ipath '*/startup/tasklane.lnk')"

echo "== The installed program in a folder it may not write"
# Immutable even for root, who may write any folder whatever its permissions.
if chattr +i "$installed" 2>/dev/null; then
  (cd "$installed" && exec wine Tasklane.exe >/dev/null 2>&1) &
  program=$!
  check "it starts" probe wait visible 60
  check "and closes as Windows asks" stop
  chattr -i "$installed"
  check "its list is in the roaming application data" grep -q "<ToDoList>" "$roaming/ToDoList.xml"
  check "not beside it" test ! -e "$installed/ToDoList.xml"
else
  echo "skip  this machine cannot make a folder read-only for root (chattr +i)"
  mkdir -p "$roaming" && cp tests/backends/win32/prepared_list.xml "$roaming/ToDoList.xml"
fi
# The user's own list beside the program survives too.
echo "<ToDoList/>" >"$installed/ToDoList.xml"

echo "== An upgrade to a higher version"
upgrade="$work/upgrade"
TASKLANE_MSI_VERSION=9.9.9 TASKLANE_PACKAGE_OUT="$upgrade" scripts/package-windows -DTASKLANE_TESTS=ON >/dev/null
check "installs silently, with autostart asked for" wine msiexec /i "$upgrade/Tasklane-9.9.9.msi" AUTOSTART=1 /qn
autostart="$(find "$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs" -ipath '*/startup/tasklane.lnk')"
check "which starts it hidden with the session" grep -q -a -- "-m" <(tr -d '\0' <"${autostart:-/nonexistent}" 2>/dev/null)
uninstall="$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r')"
check "replaces the old version in place" test "$(grep -c 'DisplayName    REG_SZ    Tasklane$' <<<"$uninstall")" = 1
check "with the new one" contains "$uninstall" "DisplayVersion    REG_SZ    9.9.9"
check "the program is there" test -f "$installed/Tasklane.exe"
check "the lists are kept" test -f "$roaming/ToDoList.xml" -a -f "$installed/ToDoList.xml"

echo "== Uninstalled"
check "a silent uninstall works" wine msiexec /x "$upgrade/Tasklane-9.9.9.msi" /qn
check "the program is gone" test ! -e "$installed/Tasklane.exe"
check "its shortcuts too" test ! -e "$shortcut" -a -z "$(find "$users" -ipath '*/startup/tasklane.lnk')"
check "the list in the application data stays" grep -q "<ToDoList>" "$roaming/ToDoList.xml"
check "and the one beside the program" test -f "$installed/ToDoList.xml"

echo "== Installed for all users"
check "a silent install with ALLUSERS=1 works" wine msiexec /i "$msi" ALLUSERS=1 /qn
check "into Program Files" test -f "$WINEPREFIX/drive_c/Program Files/Tasklane/Tasklane.exe"
# NOTE: Wine puts the shortcuts of a per-machine install in the user's own Start menu, and
# knows the install for all users again only when told so.
check "and uninstalls" wine msiexec /x "$msi" ALLUSERS=1 /qn
check "leaving no program" test ! -e "$WINEPREFIX/drive_c/Program Files/Tasklane/Tasklane.exe"

echo "== $failures failed"
[ "$failures" -eq 0 ]
