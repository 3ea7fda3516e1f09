#!/usr/bin/env bash
# Runs one Windows program of the cross build under Wine: the tests' emulator. Works without a
# display and without standard input, as any user (root in CI included). The Wine prefix is
# $WINEPREFIX when set, else a folder of this user's under the temporary folder, made on first use.
# Standard output loses the carriage returns of the Windows line ends, so that what reads it (test
# discovery, expected-output checks) sees the same lines as on Linux.
set -euo pipefail

wine=$(command -v wine64 || true)
if [[ -z $wine && -x /usr/lib/wine/wine64 ]]; then
    wine=/usr/lib/wine/wine64
fi
if [[ -z $wine ]]; then
    echo "wine-run.sh: wine64 not found (Debian package wine64)" >&2
    exit 127
fi

wineserver="$(dirname "$wine")/wineserver"

export WINEPREFIX="${WINEPREFIX:-${TMPDIR:-/tmp}/sdmweaver-wine-$(id -u)}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer, no desktop menu entries, no window.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=}"
unset DISPLAY WAYLAND_DISPLAY

# Set up the prefix on first use, and start the Wine server with its background services from
# here, detached from the program's output: otherwise they would hold its pipes open and whoever
# reads them would wait for the services to end. The server stays 20 seconds after its last
# program, so that a suite of many short programs does not start it afresh for each; it stops by
# itself afterwards. Concurrent runs wait for one another instead of racing.
mkdir -p "$WINEPREFIX"
(
    flock 9
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        "$wine" wineboot --init </dev/null >/dev/null 2>&1 9>&- || true
        "$wineserver" --wait </dev/null >/dev/null 2>&1 9>&- || true
    fi
    if "$wineserver" -p20 </dev/null >/dev/null 2>&1 9>&-; then
        "$wine" wineboot </dev/null >/dev/null 2>&1 9>&- || true
    fi
) 9>"$WINEPREFIX.lock"

"$wine" "$@" </dev/null | tr -d '\r'
