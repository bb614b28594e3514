#!/bin/sh
# Runs a Windows program under wine64 with a prefix of its own inside the build tree,
# quietly and without the Mono/Gecko install prompts.
: "${ZV_WINEPREFIX:=${WINEPREFIX:-$(pwd)/wineprefix}}"
export WINEPREFIX="$ZV_WINEPREFIX"
export WINEDEBUG=-all
# ZV_WINEDLLOVERRIDES adds overrides of the caller's ("ddraw=d" takes DirectDraw away).
export WINEDLLOVERRIDES="mscoree,mshtml=${ZV_WINEDLLOVERRIDES:+;$ZV_WINEDLLOVERRIDES}"
export WINEARCH=win64
exec /usr/lib/wine/wine64 "$@"
