' Registry tour: writes a small tree below HKEY_CURRENT_USER, lists it, reads every value back
' with its type, then deletes the whole tree. Run it with:  cscript //nologo registry.vbs
Option Explicit
Dim ops, base, status, data, kind, list, item, i, rec
Set ops = CreateObject("Kovar3.Ops")
base = "Software\Kovar3 Example"

' Writing creates every missing key on the way.
ops.RegWriteValue "HKCU", base & "\Settings", "Title", "Kovar3 example", "S"
ops.RegWriteValue "HKCU", base & "\Settings", "Home", "%USERPROFILE%\kovar", "X"
ops.RegWriteValue "HKCU", base & "\Settings", "Count", "&H10", "D"
ops.RegWriteValue "HKCU", base & "\Settings", "Colours", Array("red", "green"), "M"
ops.RegWriteValue "HKCU", base & "\Settings", "Magic", Array("4B", "33"), "BH"
ops.RegWriteValue "HKCU", base & "\Cache", "", "the default value", "S"

status = ops.RegListKeys("HKCU", base, list)
WScript.Echo "Keys below " & base & " (status " & status & "):"
For Each item In list : WScript.Echo "  " & item : Next

status = ops.RegListVals("HKCU", base & "\Settings", list)
WScript.Echo "Values of Settings with their type markers:"
For Each item In list : WScript.Echo "  " & item : Next

status = ops.RegListStringData("HKCU", base & "\Settings", list)
WScript.Echo "Text values of Settings:"
For Each item In list : WScript.Echo "  " & item : Next

WScript.Echo "Each value read back with its type code:"
For Each item In Array("Title", "Home", "Count", "Colours", "Magic")
    status = ops.RegGetValue("HKCU", base & "\Settings", item, data, kind)
    If IsArray(data) Then
        Dim parts : parts = ""
        For i = LBound(data) To UBound(data) : parts = parts & "[" & data(i) & "]" : Next
        data = parts
    End If
    WScript.Echo "  " & item & " (" & kind & ", status " & status & "): " & data
Next

' Whose class is the Scripting runtime's FileSystemObject, and where is its server?
rec = ops.GetRegFromProgID("Scripting.FileSystemObject")
If rec(0) = 0 Then WScript.Echo "Scripting.FileSystemObject is " & rec(1) & ", served by " & rec(4)

status = ops.RegDeleteSubkey("HKCU", "Software", "Kovar3 Example")
WScript.Echo "Tree deleted (status " & status & ")"
