' Describes every executable of a folder with Ops.GetPEFile.
'
'   cscript //nologo describe_folder.vbs [folder]
'
' Without an argument it describes the system folder (C:\windows\system32). Files without a
' version block are listed with the error GetPEFile raises for them.
Option Explicit

Dim fso, ops, folder, file, ext, pe, described, failed
Set fso = CreateObject("Scripting.FileSystemObject")
Set ops = CreateObject("Kovar3.Ops")

If WScript.Arguments.Count > 0 Then
    folder = WScript.Arguments(0)
Else
    folder = fso.GetSpecialFolder(1)
End If
If Not fso.FolderExists(folder) Then
    WScript.Echo "No such folder: " & folder
    WScript.Quit 1
End If

WScript.Echo "Executables in " & folder
described = 0
failed = 0
For Each file In fso.GetFolder(folder).Files
    ext = UCase(fso.GetExtensionName(file.Name))
    If ext = "EXE" Or ext = "DLL" Or ext = "OCX" Or ext = "DRV" Then
        On Error Resume Next
        Set pe = ops.GetPEFile(file.Path)
        If Err.Number <> 0 Then
            WScript.Echo file.Name & ": error " & Err.Number & " " & Err.Description
            failed = failed + 1
            Err.Clear
        Else
            WScript.Echo pe.Name & "  " & pe.FileVersion & "  " & pe.Size & " KB  " & _
                pe.CompanyName & "  " & pe.FileDescription & "  (modified " & pe.DateLastModified & ")"
            described = described + 1
        End If
        On Error GoTo 0
    End If
Next
WScript.Echo described & " described, " & failed & " without a version block"
