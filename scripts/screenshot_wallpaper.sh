#!/usr/bin/env bash
# Takes docs/images/wallpaper.png: a Wine virtual desktop on a private Xvfb display, first with
# its own background, then after examples/wallpaper.vbs has set the example bitmap, tiled, from
# inside it. Runs in a throwaway Wine prefix (removed afterwards), so no prefix keeps the change.
# Needs the built 64-bit DLL (scripts/build.sh), xwd (x11-apps) and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v xwd >/dev/null || { echo "needs xwd: apt-get install x11-apps"; exit 1; }
[ -x /usr/bin/convert ] || { echo "needs ImageMagick: apt-get install imagemagick"; exit 1; }
source scripts/wine-env.sh
export WINEPREFIX=$KOVAR3_ROOT/build/screenshot-prefix
out=docs/images/wallpaper.png
size=800x600
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX" "$(dirname "$out")"

# A display of our own; the first free number from 60 up.
display=60
while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do display=$((display + 1)); done
Xvfb :$display -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=:$display
cleanup() {
    WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

"$WINE64" wineboot --init >/dev/null 2>&1
"$WINE64" regsvr32 /s "$(winpath build/x64/kovar3.dll)"

# The desktop stays up while winemine runs in it; wait (at most 30 s) for its window.
"$WINE64" explorer /desktop=kovar3,$size winemine >/dev/null 2>&1 &
for _ in $(seq 60); do
    xwininfo -root -tree 2>/dev/null | grep -q '"kovar3 - Wine desktop"' && break
    sleep 0.5
done
sleep 2

# Set from inside the running desktop: the setting-change broadcast redraws it at once.
timeout 60 "$WINE64" explorer /desktop=kovar3,$size cscript //nologo \
    "$(winpath examples/wallpaper.vbs)" "$(winpath examples/kovar3.bmp)" tile | tr -d '\r'
sleep 2
xwd -root -silent | /usr/bin/convert xwd:- -crop $size+0+0 +repage "$out"
echo "wrote $out"
