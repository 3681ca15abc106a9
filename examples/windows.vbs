' Windows and processes: starts Notepad, finds its window among the open windows, brings it to
' the front, lists the running processes, and closes Notepad again with CloseProgram.
' Run:  cscript //nologo windows.vbs
Option Explicit
Const TimeLimit = 15   ' seconds to wait for Notepad to open, and again to close

Dim ops, sh
Set ops = CreateObject("Kovar3.Ops")
Set sh = CreateObject("WScript.Shell")

' Seconds since t0, across midnight too.
Function Elapsed(t0)
    Elapsed = Timer - t0
    If Elapsed < 0 Then Elapsed = Elapsed + 86400
End Function

Sub Pause()
    On Error Resume Next
    WScript.Sleep 100   ' Wine's script host has no Sleep: there the wait loops simply run on
    On Error GoTo 0
End Sub

' The titles of the visible titled windows, as an array (empty when there are none).
Function OpenTitles()
    Dim titles
    If ops.GetOpenWindowTitles(titles) > 0 Then OpenTitles = titles Else OpenTitles = Array()
End Function

' How often `title` appears in the list of titles.
Function Occurrences(titles, title)
    Dim t
    Occurrences = 0
    For Each t In titles
        If t = title Then Occurrences = Occurrences + 1
    Next
End Function

' A Notepad title that appears more often than it did before Notepad was started; "" if none.
Function NewNotepadTitle(before)
    Dim t
    NewNotepadTitle = ""
    For Each t In OpenTitles()
        If InStr(1, t, "Notepad", vbTextCompare) > 0 Then
            If Occurrences(OpenTitles(), t) > Occurrences(before, t) Then NewNotepadTitle = t
        End If
    Next
End Function

Dim before, title, t0, status, list, count
before = OpenTitles()
WScript.Echo "Open windows before: " & (UBound(before) + 1)
sh.Run "notepad.exe", 1, False

t0 = Timer
Do
    title = NewNotepadTitle(before)
    If title = "" Then Pause
Loop Until title <> "" Or Elapsed(t0) > TimeLimit
If title = "" Then
    WScript.Echo "Notepad's window did not appear within " & TimeLimit & " seconds."
    WScript.Quit 1
End If
WScript.Echo "Notepad's window is titled """ & title & """"

status = ops.SetWindowActive(title, False)
Select Case status
    Case 0: WScript.Echo "SetWindowActive: brought to the front (status 0)"
    Case 3: WScript.Echo "SetWindowActive: it was in front already (status 3)"
    Case 4: WScript.Echo "SetWindowActive: Windows refused to bring it to the front (status 4)"
    Case Else: WScript.Echo "SetWindowActive: status " & status
End Select
t0 = Timer
Do While ops.GetActiveWindowTitle() <> title And Elapsed(t0) < 2
    Pause
Loop
WScript.Echo "Active window (GetActiveWindowTitle): """ & ops.GetActiveWindowTitle() & """"

status = ops.GetProcessList(list, count)
If status = 0 Then
    WScript.Echo count & " processes (GetProcessList):"
    WScript.Echo "  " & Replace(list, ",", ", ")
Else
    WScript.Echo "GetProcessList: status " & status
End If

If Occurrences(before, title) > 0 Then
    ' CloseProgram closes the first window with this title, which may not be ours.
    WScript.Echo "Another window was already titled """ & title & """: close Notepad yourself."
    WScript.Quit 0
End If
ops.CloseProgram title, 1   ' WM_CLOSE: Notepad closes as if its close box were clicked
t0 = Timer
Do While Occurrences(OpenTitles(), title) > 0 And Elapsed(t0) < TimeLimit
    Pause
Loop
If Occurrences(OpenTitles(), title) = 0 Then
    WScript.Echo "Notepad closed (CloseProgram with 1)."
Else
    ops.CloseProgram title, 2   ' WM_QUIT ends its message loop without asking
    WScript.Echo "Notepad did not close within " & TimeLimit & " seconds; asked it to quit."
End If
