' The registry members as VBScript sees them: typed statuses (Integer or Long), typed data,
' arrays with lower bound 0, outputs written only where they should be.
Option Explicit
Sub Check(name, condition, detail)
    If condition Then
        WScript.Echo "ok " & name
    Else
        WScript.Echo "not ok " & name & ": " & detail
    End If
End Sub

Dim ops, base, status, data, kind, list, rec
Set ops = CreateObject("Kovar3.Ops")
base = "Software\Kovar3 Tests\registry.vbs"
ops.RegDeleteSubkey "HKCU", "Software\Kovar3 Tests", "registry.vbs"

status = ops.RegWriteValue("HKCU", base & "\deep\er", "Name", "value", "S")
Check "write creates the path", status = 0 And TypeName(status) = "Integer", TypeName(status) & " " & status
status = ops.RegWriteValue("HKCU", base, "Flags", "&HFF", "d")
Check "lower-case d with &HFF", status = 0, status
status = ops.RegWriteValue("HKCU", base, "Blob", Array(0, 127, 255), "B")
Check "binary from numbers", status = 0, status
status = ops.RegWriteValue("HKCU", base, "Hex", Array("0a", "FF"), "BH")
Check "binary from hexadecimal", status = 0, status
status = ops.RegWriteValue("HKCU", base, "List", Array("a", "b"), "M")
Check "multi-string", status = 0, status
status = ops.RegWriteValue("HKCU", base & "\never", "Hex", Array("0a", "G1"), "BH")
Check "bad hexadecimal element is 3", status = 3, status
status = ops.RegListKeys("HKCU", base, list)
Check "nothing created by a refused write", status = 0 And UBound(list) = 0, status

data = "kept" : kind = "kept"
status = ops.RegGetValue("HKCU", "\" & base & "\", "Flags", data, kind)
Check "read status is Long", TypeName(status) = "Long" And status = 0, TypeName(status) & " " & status
Check "DWORD data is Long 255", TypeName(data) = "Long" And data = 255 And kind = "D", TypeName(data) & " " & data & " " & kind
status = ops.RegGetValue("HKCU", base, "Blob", data, kind)
Check "binary reads as Integers", kind = "B" And LBound(data) = 0 And UBound(data) = 2 And TypeName(data(2)) = "Integer" And data(2) = 255, kind
status = ops.RegGetValue("HKCU", base, "List", data, kind)
Check "multi-string ends in an empty element", kind = "M" And UBound(data) = 2 And data(1) = "b" And data(2) = "", kind
status = ops.RegGetValue("HKCU", base, "Missing", data, kind)
Check "missing value is 5 with empty outputs", status = 5 And data = "" And kind = "", status
data = "kept"
status = ops.RegGetValue("HKEY_CURRENT_USER", base, "Flags", data, kind)
Check "unknown hive is Integer 4, data left alone", TypeName(status) = "Integer" And status = 4 And data = "kept" And kind = "", TypeName(status) & " " & status
status = ops.RegGetValue("HKCU", base, Null, data, kind)
Check "Null value name is the trap's Integer 6", TypeName(status) = "Integer" And status = 6, TypeName(status) & " " & status

status = ops.RegListVals("HKCU", base, list)
Check "value list", status = 0 And UBound(list) = 3, status
status = ops.RegListStringData("HKCU", base & "\deep\er", list)
Check "string data list", status = 0 And list(0) = "Name^value", status
status = ops.RegListVals("HKCU", base & "\deep", list)
Check "no named values is 1 with empty text", status = 1 And TypeName(list) = "String", status

On Error Resume Next
status = ops.RegListKeys(Null, base, list)
Check "Null hive reaches the script from RegListKeys", Err.Number = 94, Err.Number
Err.Clear
status = ops.RegListVals(Null, base, list)
Check "and is RegListVals' status 4", Err.Number = 0 And status = 4, Err.Number & " " & status
On Error GoTo 0

status = ops.RegDeleteSubkey("HKCU", base, Chr(0))
Check "NUL subkey name is refused", status = 3, status
status = ops.RegDeleteSubkey("HKCU", base, "\\")
Check "backslash subkey name is refused", status = 3, status
status = ops.RegListKeys("HKCU", base, list)
Check "nothing deleted by a refused name", status = 0, status
status = ops.RegWriteValue("HKCU", String(100000, "k"), "v", "x", "S")
Check "overlong path cannot be created", status = 1, status

rec = ops.GetRegFromProgID("Scripting.FileSystemObject")
Check "FileSystemObject is registered", rec(0) = 0 And Len(rec(1)) = 38 And rec(4) <> "", rec(0)
rec = ops.GetRegFromCLSID(Mid(rec(1), 2, 36))
Check "and found again from its bare class identifier", rec(0) = 0 And rec(2) <> "", rec(0)
rec = ops.GetRegFromCLSID("")
Check "empty identifier gives Empty elements", rec(0) = 1 And IsEmpty(rec(1)) And IsEmpty(rec(5)), rec(0)
Check "GetEXEPath of nothing is empty text", ops.GetEXEPath("kovar3-no-such-program.exe") = "", ""

status = ops.RegDeleteSubkey("HKCU", "Software\Kovar3 Tests", "registry.vbs")
Check "tree deleted", status = 0, status
status = ops.RegListKeys("HKCU", base, list)
Check "and gone", status = 2, status
WScript.Echo "done"
