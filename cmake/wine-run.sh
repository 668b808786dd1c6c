#!/bin/sh
# Runs a cross-built test program under Wine. Wine is looked up when the test runs, not when
# the build folder is configured, so a folder made before Wine was installed still finds it.
command -v wine >/dev/null 2>&1 || { echo "wine is not installed: scripts/setup wine wine64" >&2; exit 1; }
exec wine "$@"
