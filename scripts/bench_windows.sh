#!/usr/bin/env bash
# Runs the windows and processes benchmark: builds, registers the DLL in the private prefix,
# restarts that prefix's wineserver so no earlier run's state weighs on it, and runs the program
# pinned to one core under Xvfb (it opens 200 windows). An argument (calls) goes to the program.
# Then, inside one script, GetProcessList against WMI's Win32_Process, the peer a script would
# otherwise use, building the same list.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
source scripts/wine-env.sh
fresh_wineserver
# Let that server end, so the benchmark starts one under its own display (a server started by
# regsvr32 without a display could make no windows) and on its core.
"$KOVAR3_ROOT/scripts/wine-wait.sh"
taskset -c 0 xvfb-run -a "$WINE64" build/x64/kovar3_bench_windows.exe "$@" | tr -d '\r'
script=build/bench-processes.vbs
cat >"$script" <<'VBS'
Dim ops, wmi, i, t0, t1, t2, list, count, p, s, n
Set ops = CreateObject("Kovar3.Ops")
Set wmi = GetObject("winmgmts:\\.\root\cimv2")
n = 200
t0 = Timer
For i = 1 To n : ops.GetProcessList list, count : Next
t1 = Timer
For i = 1 To n
    s = ""
    For Each p In wmi.ExecQuery("SELECT Name FROM Win32_Process")
        If s = "" Then s = p.Name Else s = s & "," & p.Name
    Next
Next
t2 = Timer
WScript.Echo "VBScript, " & n & " lists of " & count & " processes: GetProcessList " & FormatNumber((t1 - t0) * 1000, 0) & " ms, WMI Win32_Process " & FormatNumber((t2 - t1) * 1000, 0) & " ms, WMI takes " & FormatNumber((t2 - t1) / (t1 - t0), 1) & "x as long"
VBS
taskset -c 0 "$WINE64" cscript //nologo "$(winpath "$script")" | tr -d '\r'
