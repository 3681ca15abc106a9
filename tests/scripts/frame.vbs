' The calling convention as VBScript sees it: variables passed by reference receive outputs,
' literals lose them silently, results are typed, raised errors carry number and source.
Option Explicit
Dim failures : failures = 0
Sub Check(name, condition, detail)
    If condition Then
        WScript.Echo "ok " & name
    Else
        WScript.Echo "not ok " & name & ": " & detail
    End If
End Sub

Dim ops, ini, status, v, t, u
Set ops = CreateObject("Kovar3.Ops")
Set ini = CreateObject("Kovar3.INIEdit")

status = ops.GetOpVersion(v)
Check "GetOpVersion status is a 16-bit 0", TypeName(status) = "Integer" And status = 0, TypeName(status) & " " & status
Check "version array bounds 0 to 4", LBound(v) = 0 And UBound(v) = 4, LBound(v) & ".." & UBound(v)
Check "version numbers are Long", TypeName(v(0)) = "Long" And TypeName(v(3)) = "Long", TypeName(v(0))
Check "service pack text has 128 characters", Len(v(4)) = 128, Len(v(4))

status = ops.GetMemory(t, u)
Check "GetMemory total and load are Long", TypeName(t) = "Long" And TypeName(u) = "Long", TypeName(t) & " " & TypeName(u)
Check "GetMemory total is positive", t > 0, t

Check "names ignore case", TypeName(ops.getcuruser()) = "String" And ops.GETCOMPNAME() <> "", ops.getcuruser()
Check "colour depth is Long", TypeName(ops.GetColorDepthBPP()) = "Long", TypeName(ops.GetColorDepthBPP())

status = ops.GetScreenPixels(5, 6)
Check "literal outputs are accepted", status = 0, status

On Error Resume Next
Dim pe
Set pe = ops.GetPEFile("C:\no\such\file.exe")
Check "GetPEFile raises 1", Err.Number = 1, Err.Number
Check "error source", Err.Source = "Ops:GetPEFile", Err.Source
Check "error description", Err.Description = "Bad file path.", Err.Description
Err.Clear
ops.ExitWin Null
Check "Null exit mode reaches the script", Err.Number = 94, Err.Number
Err.Clear
ops.ExitWin "soon"
Check "text exit mode is a type mismatch", Err.Number = 13, Err.Number
Err.Clear
ops.TimerStart 5
Check "an extra argument is wrong number of arguments", Err.Number = 450, Err.Number
Err.Clear
status = ops.GetColorDepthBPP()
Check "no error left over", Err.Number = 0, Err.Number
On Error GoTo 0

Check "INIEdit write result is Boolean", TypeName(ini.WriteIniSection("", "", "")) = "Boolean", ""
WScript.Echo "done"
