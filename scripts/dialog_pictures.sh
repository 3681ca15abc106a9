#!/usr/bin/env bash
# Makes the pictures of docs/dialogs.md again (docs/images/*-dialog.png): opens each dialogue
# through cscript in a throwaway Wine prefix with a virtual desktop (so Wine draws the title
# bars, as Windows does) on an Xvfb display of its own, photographs the screen with xwd and cuts
# the dialogue out with ImageMagick's convert. dialog_answer.exe finds each dialogue, fills in
# what the picture shows and cancels it afterwards. Nothing outside build/ and docs/images/ is
# touched; the prefix is removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ -z "${KOVAR3_PICTURES_INNER:-}" ]; then
    bash scripts/setup.sh
    need=()
    command -v xwd >/dev/null || need+=(x11-apps)
    command -v convert >/dev/null || need+=(imagemagick)
    [ -f /usr/share/wine/fonts/marlett.ttf ] || need+=(fonts-wine)  # Marlett: the caption buttons' glyphs
    if [ ${#need[@]} -gt 0 ]; then
        SUDO=""
        [ "$(id -u)" -eq 0 ] || SUDO=sudo
        $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
    fi
    bash scripts/build.sh >/dev/null
    exec xvfb-run -a -s "-screen 0 1024x768x24" env KOVAR3_PICTURES_INNER=1 bash "$0"
fi

source scripts/wine-env.sh
export WINEPREFIX="$root/build/pictures-prefix"
answer="$root/build/x64/dialog_answer.exe"
work="$root/build/pictures"
cleanup() {
    "$WINE64" "$answer" '*' cancel >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX" "$work"
}
trap cleanup EXIT
rm -rf "$WINEPREFIX" "$work"
mkdir -p "$WINEPREFIX" "$work" docs/images
"$WINE64" wineboot --init >/dev/null 2>&1
"$KOVAR3_ROOT/scripts/wine-wait.sh"
"$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
"$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null
"$KOVAR3_ROOT/scripts/wine-wait.sh"  # the desktop takes its new form when it starts again
"$WINE64" regsvr32 /s "$(winpath build/x64/kovar3.dll)"

# A folder with something to show.
reports="$WINEPREFIX/drive_c/Reports"
mkdir -p "$reports"
for name in "budget 2024.txt" "minutes march.txt" "minutes april.txt" notes.txt summary.txt \
    chart.png; do
    echo sample >"$reports/$name"
done

# shoot NAME TITLE CALL FILL...: runs CALL (a VBScript expression on ops) in cscript from
# C:\Reports, waits for the dialogue TITLE, fills it in, photographs it, cancels it.
shoot() {
    local name=$1 title=$2 call=$3; shift 3
    printf 'Set ops = CreateObject("Kovar3.Ops")\r\nr = %s\r\n' "$call" >"$work/$name.vbs"
    (cd "$reports" && "$WINE64" cscript //nologo "$(winpath "$work/$name.vbs")") &
    local host=$!
    local geometry
    geometry=$("$WINE64" "$answer" "$title" rect | tr -d '\r')
    if [ $# -gt 0 ]; then "$WINE64" "$answer" "$title" "$@"; fi
    sleep 2  # let the list and the colours paint
    read -r x y w h <<<"$geometry"
    xwd -root -silent | convert xwd:- -crop "${w}x${h}+${x}+${y}" +repage "docs/images/$name.png"
    "$WINE64" "$answer" "$title" cancel
    wait "$host"
    echo "docs/images/$name.png: ${w}x${h}"
}

shoot open-dialog "Open File" 'ops.OpenDlg("", "txt", "C:\Reports")' fill-name notes.txt
shoot open-multi-dialog "Select Files" 'ops.OpenMultiDlg("", "", "C:\Reports")' \
    fill-name "minutes march.txt" "minutes april.txt"
shoot save-dialog "Select Files" 'ops.SaveDlg("", "")' fill-name "report"
shoot color-dialog "Color" 'ops.ColorDlg()' fill-color 255 128 0
