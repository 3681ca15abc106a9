' Ops.GetPEFile through the script host: the properties of a system library, one shared
' PEFile, and the four errors as Err shows them.
Option Explicit

Dim fso, ops, sys, pe, pe2, folder, textFile
Set fso = CreateObject("Scripting.FileSystemObject")
Set ops = CreateObject("Kovar3.Ops")
sys = fso.GetSpecialFolder(1)
folder = fso.GetSpecialFolder(2) & "\kovar3-pefile-vbs"
If fso.FolderExists(folder) Then fso.DeleteFolder folder, True
fso.CreateFolder folder
textFile = folder & "\readme.txt"
fso.CreateTextFile(textFile, True).Close

Sub Check(name, value, expectedType, expected)
    If TypeName(value) <> expectedType Then
        WScript.Echo "not ok " & name & ": type " & TypeName(value) & ", expected " & expectedType
    ElseIf CStr(value) <> CStr(expected) Then
        WScript.Echo "not ok " & name & ": got [" & value & "], expected [" & expected & "]"
    Else
        WScript.Echo "ok " & name
    End If
End Sub

Sub CheckTrue(name, condition, detail)
    If condition Then
        WScript.Echo "ok " & name
    Else
        WScript.Echo "not ok " & name & ": " & detail
    End If
End Sub

Set pe = ops.GetPEFile(sys & "\kernel32.dll")
Check "name", pe.Name, "String", "kernel32.dll"
CheckTrue "company", Len(pe.CompanyName) > 0, "empty"
CheckTrue "file version", Len(pe.FileVersion) > 0, "empty"
Check "product version type", TypeName(pe.ProductVersion), "String", "String"
Check "product name type", TypeName(pe.ProductName), "String", "String"
Check "description type", TypeName(pe.FileDescription), "String", "String"
Check "created type", TypeName(pe.DateCreated), "String", "String"
CheckTrue "modified", Len(pe.DateLastModified) > 0, "empty"
CheckTrue "size", CLng(pe.Size) > 0, pe.Size
CheckTrue "attributes", TypeName(pe.Attributes) = "Integer", TypeName(pe.Attributes)

Set pe2 = ops.GetPEFile(sys & "\ole32.dll")
Check "shared object", pe.Name, "String", "ole32.dll"
CheckTrue "same object", pe Is pe2, "two objects"

Sub ExpectError(name, path, number, description)
    On Error Resume Next
    Dim result
    Set result = ops.GetPEFile(path)
    If Err.Number <> number Then
        WScript.Echo "not ok " & name & ": Err.Number " & Err.Number & ", expected " & number
    ElseIf Err.Source <> "Ops:GetPEFile" Then
        WScript.Echo "not ok " & name & ": Err.Source " & Err.Source
    ElseIf Err.Description <> description Then
        WScript.Echo "not ok " & name & ": Err.Description " & Err.Description
    Else
        WScript.Echo "ok " & name
    End If
    On Error GoTo 0
End Sub

ExpectError "missing file", folder & "\missing.dll", 1, "Bad file path."
ExpectError "folder", folder, 1, "Bad file path."
ExpectError "empty path", "", 1, "Bad file path."
ExpectError "not a PE name", textFile, 2, "Not a PE file."
ExpectError "no version block", fso.BuildPath(fso.GetParentFolderName(WScript.ScriptFullName), "..\..\build\x64\fixtures\unversioned.dll"), 3, "Unable to get file info."
Check "kept after errors", pe.Name, "String", "ole32.dll"

fso.DeleteFolder folder, True
WScript.Echo "done"
