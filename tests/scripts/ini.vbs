' INIEdit through the script host: result types, list layouts, the null words, missing files.
Option Explicit

Dim fso, ini, folder, path, r, failures
Set fso = CreateObject("Scripting.FileSystemObject")
Set ini = CreateObject("Kovar3.INIEdit")
folder = fso.GetSpecialFolder(2) & "\kovar3-ini-vbs"
If fso.FolderExists(folder) Then fso.DeleteFolder folder, True
fso.CreateFolder folder
path = folder & "\t.ini"

Sub WriteFile(p, text)
    Dim f
    Set f = fso.CreateTextFile(p, True)
    f.Write text
    f.Close
End Sub

' Lists hold NUL characters, which this host's "=" does not compare: show them as "|".
Function Shown(s)
    Dim i, c
    Shown = ""
    For i = 1 To Len(s)
        c = Mid(s, i, 1)
        If Asc(c) = 0 Then c = "|"
        Shown = Shown & c
    Next
End Function

Sub Check(name, value, expectedType, expected)
    If TypeName(value) <> expectedType Then
        WScript.Echo "not ok " & name & ": type " & TypeName(value) & ", expected " & expectedType
    ElseIf CStr(Shown(value)) <> CStr(expected) Then
        WScript.Echo "not ok " & name & ": got [" & Shown(value) & "], expected [" & expected & "]"
    Else
        WScript.Echo "ok " & name
    End If
End Sub

WriteFile path, "[pairs]" & vbCrLf & "a=1" & vbCrLf & "b=2" & vbCrLf & "[other]" & vbCrLf & "x=" & String(300, "x") & vbCrLf

Check "value", ini.GetIniVal(path, "pairs", "b"), "String", "2"
Check "missing key", ini.GetIniVal(path, "pairs", "zz"), "String", ""
Check "long value whole", Len(ini.GetIniVal(path, "other", "x")), "Long", "300"
Check "keys", ini.GetIniSectionKeys(path, "pairs"), "String", "a|b|"
Check "key length", Len(ini.GetIniSectionKeys(path, "pairs")), "Long", "4"
Check "lines", ini.GetIniSectionVals(path, "pairs"), "String", "a=1|b=2|"
Check "sections", ini.GetIniSectionNames(path), "String", "pairs|other|"

Check "write", ini.WriteIniVal(path, "pairs", "c", "3"), "Boolean", "True"
Check "written", ini.GetIniVal(path, "pairs", "c"), "String", "3"
Check "null value", ini.WriteIniVal(path, "pairs", "c", "NULL"), "Boolean", "True"
Check "key deleted", ini.GetIniSectionKeys(path, "pairs"), "String", "a|b|"
Check "null key", ini.WriteIniVal(path, "other", "null", "anything"), "Boolean", "True"
Check "section deleted", ini.GetIniSectionNames(path), "String", "pairs|"
Check "section", ini.WriteIniSection(path, "pairs", "p=1" & Chr(0) & "q=2"), "Boolean", "True"
Check "section keys", ini.GetIniSectionKeys(path, "pairs"), "String", "p|q|"

' A line break would add lines of its own: refused, nothing written.
WriteFile path, "[app]" & vbCrLf & "user=bob" & vbCrLf & "[admin]" & vbCrLf & "allowed=no" & vbCrLf
Check "line break refused", ini.WriteIniVal(path, "app", "user", "eve" & vbCrLf & "[admin]" & vbCrLf & "allowed=yes"), "Boolean", "False"
Check "other section kept", ini.GetIniVal(path, "admin", "allowed"), "String", "no"
Check "value kept", ini.GetIniVal(path, "app", "user"), "String", "bob"
Check "equals in key refused", ini.WriteIniVal(path, "app", "k=evil", "v"), "Boolean", "False"
Check "equals in value", ini.WriteIniVal(path, "app", "formula", "a=b+c"), "Boolean", "True"
Check "equals read back", ini.GetIniVal(path, "app", "formula"), "String", "a=b+c"

Dim missing
missing = folder & "\missing.ini"
Check "missing read", ini.GetIniVal(missing, "s", "k"), "String", ""
Check "missing write", ini.WriteIniVal(missing, "s", "k", "v"), "Boolean", "False"
Check "missing section", ini.WriteIniSection(missing, "s", "a=1"), "Boolean", "False"
Check "missing untouched", fso.FileExists(missing), "Boolean", "False"
Check "null path", ini.GetIniVal(Null, "s", "k"), "String", ""
Check "null value write", ini.WriteIniVal(path, "s", "k", Null), "Boolean", "False"
Check "number as text", ini.WriteIniVal(path, 5, 6, 7), "Boolean", "True"
Check "number read", ini.GetIniVal(path, "5", 6), "String", "7"

fso.DeleteFolder folder, True
WScript.Echo "done"
