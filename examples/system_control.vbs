' System control tour: the fixed drives as a small table, a clipboard round trip (the text that
' was on the clipboard is put back afterwards) and a timed loop. Changes nothing else.
' Run it with:  cscript //nologo system_control.vbs
Option Explicit
Dim ops, list, entry, part, used, status, saved, hadText, text, i, n, elapsed
Set ops = CreateObject("Kovar3.Ops")

Function PadLeft(value, width)
    PadLeft = Right(Space(width) & value, width)
End Function

' GetDriveInfo: "C:\ 38147 9537,D:\ ..." (root, total MB, free MB).
list = ops.GetDriveInfo()
WScript.Echo "Fixed drives:"
WScript.Echo "  Drive   Total MB    Free MB  Used"
If list = "" Then
    WScript.Echo "  (none)"
Else
    For Each entry In Split(list, ",")
        part = Split(entry, " ")
        If CDbl(part(1)) > 0 Then used = Round(100 * (1 - CDbl(part(2)) / CDbl(part(1)))) Else used = 0
        WScript.Echo "  " & part(0) & "   " & PadLeft(part(1), 9) & "  " & PadLeft(part(2), 9) & _
                     "  " & PadLeft(used, 3) & "%"
    Next
End If

' The clipboard: keep what is there, round-trip a text, put the old text back.
hadText = (ops.GetTextCB(saved) = 0)
status = ops.SendTextCB("Kovar3 was here" & vbCrLf & "second line")
WScript.Echo "SendTextCB: status " & status & " (" & TypeName(status) & ")"
status = ops.GetTextCB(text)
WScript.Echo "GetTextCB: status " & status & ", " & Len(text) & " characters: " & _
             Replace(text, vbCrLf, " / ")
If hadText Then
    ops.SendTextCB saved
    WScript.Echo "The earlier clipboard text is back."
End If

' The stopwatch: one per script thread; creating an Ops object stops it.
ops.TimerStart
n = 0
For i = 1 To 100000
    n = n + i Mod 7
Next
elapsed = ops.TimerStop()
WScript.Echo "A loop of 100000 steps took " & elapsed & " ms (" & TypeName(elapsed) & ")"
elapsed = ops.TimerStop()
WScript.Echo "TimerStop again without TimerStart: " & elapsed & " (" & TypeName(elapsed) & ")"
