#!/usr/bin/env bash
# Runs a Windows program under Debian's Wine (wine64's loader is not on PATH), quietly.
# Usage: [WINEPREFIX=DIR] scripts/wine.sh PROGRAM.exe [ARGS...]
# WINEPREFIX defaults to the null-driver prefix that scripts/windows-deps.sh makes.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/windows-deps/wine-null}
export WINEDEBUG=${WINEDEBUG:--all}
# Wine asks to install Mono and Gecko in a fresh prefix; neither is needed or reachable here.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec /usr/lib/wine/wine64 "$@"
