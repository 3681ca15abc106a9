#!/usr/bin/env bash
# Builds and runs the registry benchmark under Wine and prints its figures and ratios.
# Every registry call under Wine is a round trip to wineserver, whose cost swings several-fold
# when the scheduler moves the two processes between cores: the run is pinned to one core and
# the prefix's wineserver is restarted first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
source scripts/wine-env.sh
fresh_wineserver
taskset -c 0 "$WINE64" build/x64/kovar3_bench.exe
# Inside one script: RegGetValue against WScript.Shell's RegRead on the same value.
script=build/bench-registry.vbs
cat >"$script" <<'VBS'
Dim ops, sh, i, t0, t1, t2, d, k, n
Set ops = CreateObject("Kovar3.Ops")
Set sh = CreateObject("WScript.Shell")
ops.RegWriteValue "HKCU", "Software\Kovar3 Bench Script", "Path", "C:\Program Files\Kovar", "S"
n = 5000
t0 = Timer
For i = 1 To n : ops.RegGetValue "HKCU", "Software\Kovar3 Bench Script", "Path", d, k : Next
t1 = Timer
For i = 1 To n : d = sh.RegRead("HKCU\Software\Kovar3 Bench Script\Path") : Next
t2 = Timer
WScript.Echo "VBScript, " & n & " reads: RegGetValue " & FormatNumber((t1 - t0) * 1000, 0) & " ms, RegRead " & FormatNumber((t2 - t1) * 1000, 0) & " ms, ratio " & FormatNumber((t1 - t0) / (t2 - t1), 2) & "x (target no slower)"
ops.RegDeleteSubkey "HKCU", "Software", "Kovar3 Bench Script"
VBS
taskset -c 0 "$WINE64" cscript //nologo "$(winpath "$script")" | tr -d '\r'
