#!/usr/bin/env bash
# ExitWin for real, in a throwaway Wine prefix of its own: Wine ends every program of a prefix
# on a logoff, after sending WM_QUERYENDSESSION and WM_ENDSESSION to their windows. A window
# of another program (the peer's witness) records those messages; a second witness in the
# test prefix must see nothing and survive. Run under an X display (xvfb-run). Prints
# "ok <case>" / "not ok <case>: detail" lines and ends with "done".
set -uo pipefail
cd "$(dirname "$0")/../.."
source scripts/wine-env.sh
test_prefix=$WINEPREFIX
work=$(mktemp -d /tmp/kovar3-exit-session-XXXXXX)
main_witness=""
cleanup() {
    [ -n "$main_witness" ] && kill "$main_witness" 2>/dev/null
    WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

check() {  # name, condition result (0 = true), detail
    if [ "$2" -eq 0 ]; then echo "ok $1"; else echo "not ok $1: $3"; fi
}
wait_for_line() {  # file, text, seconds
    local i
    for ((i = 0; i < $3 * 5; i++)); do
        grep -qx "$2" "$1" 2>/dev/null && return 0
        sleep 0.2
    done
    return 1
}

peer=$(winpath build/x64/kovar3_peer.exe)
cp -a "$test_prefix" "$work/prefix"
cat >"$work/logoff.vbs" <<'VBS'
Set ops = CreateObject("Kovar3.Ops")
ops.ExitWin CInt(WScript.Arguments(0))
WScript.Echo "returned"
VBS

# A witness in the test prefix, which the logoff in the other prefix must not reach.
"$WINE64" "$peer" witness "$(winpath "$work")\\main.log" 120 >/dev/null 2>&1 &
main_witness=$!
wait_for_line "$work/main.log" ready 60
check "a window in the test prefix is up" $? "no ready line"

export WINEPREFIX=$work/prefix
"$WINE64" regsvr32 /s "$(winpath build/x64/kovar3.dll)"
"$WINE64" "$peer" witness "$(winpath "$work")\\session.log" 120 >/dev/null 2>&1 &
witness=$!
wait_for_line "$work/session.log" ready 60
check "a window in the throwaway prefix is up" $? "no ready line"

timeout 60 "$WINE64" cscript //nologo "$(winpath "$work/logoff.vbs")" 3 >"$work/mode3.out" 2>&1
sleep 1
! grep -q end-session "$work/session.log"
check "ExitWin 3 leaves the session alone" $? "$(tr '\n' ' ' <"$work/session.log")"

timeout 60 "$WINE64" cscript //nologo "$(winpath "$work/logoff.vbs")" 0 >"$work/mode0.out" 2>&1
wait_for_line "$work/session.log" end-session 60
check "ExitWin 0 sends WM_ENDSESSION to a running program" $? "$(tr '\n' ' ' <"$work/session.log")"
grep -qx query-end-session "$work/session.log"
check "ExitWin 0 asks with WM_QUERYENDSESSION first" $? "$(tr '\n' ' ' <"$work/session.log")"
for ((i = 0; i < 150; i++)); do kill -0 "$witness" 2>/dev/null || break; sleep 0.2; done
! kill -0 "$witness" 2>/dev/null
check "the program has ended" $? "still running"

! grep -q end-session "$work/main.log" && kill -0 "$main_witness" 2>/dev/null
check "the test prefix is untouched" $? "$(tr '\n' ' ' <"$work/main.log")"
echo done
