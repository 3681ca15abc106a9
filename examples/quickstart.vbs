' Kovar3 quick start: who and where, a registry value, an INI file, a DLL's version.
' The same four tasks are in quickstart.js, quickstart.ps1 and Quickstart.bas (VBA).
'
'   cscript //nologo quickstart.vbs
Option Explicit

Dim ops, ini, fso, version, data, kind, path, pe
Set ops = CreateObject("Kovar3.Ops")
Set ini = CreateObject("Kovar3.INIEdit")
Set fso = CreateObject("Scripting.FileSystemObject")

' 1. Who and where. GetOpVersion hands the version back through its parameter.
WScript.Echo "User " & ops.GetCurUser() & " on " & ops.GetCompName()
If ops.GetOpVersion(version) = 0 Then
    WScript.Echo "Windows " & version(1) & "." & version(2) & " build " & version(3)
End If

' 2. A registry value and its type code ("S" is text).
If ops.RegGetValue("HKLM", "Software\Microsoft\Windows NT\CurrentVersion", "ProductName", _
                   data, kind) = 0 Then
    WScript.Echo "Product: " & data & " (type " & kind & ")"
End If

' 3. An INI value written and read back. INIEdit writes only into files that exist.
path = fso.BuildPath(fso.GetSpecialFolder(2), "kovar3-quickstart.ini")
fso.CreateTextFile(path, True).Close
If ini.WriteIniVal(path, "Settings", "Colour", "blue") Then
    WScript.Echo "INI value: " & ini.GetIniVal(path, "Settings", "Colour")
End If
fso.DeleteFile path

' 4. A system DLL described by its version resource.
Set pe = ops.GetPEFile(fso.BuildPath(fso.GetSpecialFolder(1), "kernel32.dll"))
WScript.Echo pe.Name & " " & pe.FileVersion & ", " & pe.Size & " KB"
