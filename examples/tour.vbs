' A tour of Kovar3: creates both classes by ProgID and prints what they answer, with the
' variant type of every value.  Run:  cscript //nologo tour.vbs
Option Explicit

Dim ops, ini, status, version, total, inUse, w, h, i, n
Set ops = CreateObject("Kovar3.Ops")
Set ini = CreateObject("Kovar3.INIEdit")
WScript.Echo "Created " & TypeName(ops) & " and " & TypeName(ini)

Sub Show(label, value)
    WScript.Echo "  " & label & " = " & value & "  (" & TypeName(value) & ")"
End Sub

WScript.Echo "Operating system (GetOpVersion):"
status = ops.GetOpVersion(version)
Show "status", status
If status = 0 Then
    Show "platform", version(0)
    Show "major", version(1)
    Show "minor", version(2)
    Show "build", version(3)
    WScript.Echo "  service pack = """ & Replace(version(4), Chr(0), "") & """  (" & _
                 TypeName(version(4)) & " of " & Len(version(4)) & " characters)"
End If

WScript.Echo "Memory (GetMemory):"
status = ops.GetMemory(total, inUse)
Show "status", status
Show "installed MB", total
Show "load %", inUse

WScript.Echo "User and computer:"
Show "GetCurUser", ops.GetCurUser()
Show "GetCompName", ops.GetCompName()

WScript.Echo "Display:"
Show "GetColorDepthBPP", ops.GetColorDepthBPP()
status = ops.GetDesktopPixels(w, h)
Show "desktop work area right", w
Show "desktop work area bottom", h
status = ops.GetScreenPixels(w, h)
Show "screen width", w
Show "screen height", h

WScript.Echo "Drives and the stopwatch (GetDriveInfo, TimerStart, TimerStop):"
Show "fixed drives: root, total MB, free MB", ops.GetDriveInfo()
ops.TimerStart
For i = 1 To 10000 : n = n + i : Next
Show "ms for a loop of 10000 steps", ops.TimerStop()

WScript.Echo "Registration lookup (GetRegFromProgID, GetRegFromCLSID):"
Dim rec
rec = ops.GetRegFromProgID("Scripting.FileSystemObject")
Show "status", rec(0)
If rec(0) = 0 Then
    Show "class identifier", rec(1)
    Show "server", rec(4)
    rec = ops.GetRegFromCLSID(Mid(rec(1), 2, 36))   ' braces are added when missing
    Show "ProgID found again from the class", rec(2)
End If

WScript.Echo "A system DLL described (GetPEFile):"
Dim pe
' The system folder (C:\Windows\System32) from the Scripting runtime.
Set pe = ops.GetPEFile(CreateObject("Scripting.FileSystemObject").GetSpecialFolder(1) & "\kernel32.dll")
Show "Name", pe.Name
Show "CompanyName", pe.CompanyName
Show "FileDescription", pe.FileDescription
Show "FileVersion", pe.FileVersion
Show "ProductName", pe.ProductName
Show "Size (KB)", pe.Size
Show "Attributes", pe.Attributes
Show "DateLastModified", pe.DateLastModified

WScript.Echo "Colours in use (GetSystemColor, RRGGBB):"
Show "Desktop", ops.GetSystemColor("Desktop")
Show "Selection", ops.GetSystemColor("Selection")
Show "an unknown element", ops.GetSystemColor("NoSuchElement")

WScript.Echo "Processes and file types (GetProcessList, GetDefaultProgram):"
Dim list, count
status = ops.GetProcessList(list, count)
Show "status", status
Show "number of processes", count
' "" when nothing is registered for the type (a fresh Wine prefix registers no ".txt").
Show "program for .txt", """" & ops.GetDefaultProgram(".txt") & """"

WScript.Echo "Errors reach the script with number, source and description:"
On Error Resume Next
Set pe = ops.GetPEFile("C:\no\such\file.dll")
WScript.Echo "  Err.Number = " & Err.Number & ", Err.Source = " & Err.Source & _
             ", Err.Description = " & Err.Description
Err.Clear
On Error GoTo 0

' The dialogues wait for a person, so the tour shows them only when asked:
'   cscript //nologo tour.vbs dialogs
WScript.Echo "Dialogues (OpenDlg, OpenMultiDlg, SaveDlg, ColorDlg):"
If WScript.Arguments.Count > 0 Then
    If LCase(WScript.Arguments(0)) = "dialogs" Then
        Show "OpenDlg, any file", ops.OpenDlg("Tour: choose any file", "", "")
        Show "ColorDlg, ""0"" when cancelled", ops.ColorDlg()
    End If
Else
    WScript.Echo "  run ""cscript //nologo tour.vbs dialogs"" to try two of them"
End If
