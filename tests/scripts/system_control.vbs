' Drives, clipboard, timer, sound and the exit modes as VBScript sees them. Nothing here logs
' off: ExitWin is only called with modes that do nothing.
Option Explicit
Sub Check(name, condition, detail)
    If condition Then
        WScript.Echo "ok " & name
    Else
        WScript.Echo "not ok " & name & ": " & detail
    End If
End Sub

Dim ops, list, re, status, text, elapsed, i, n
Set ops = CreateObject("Kovar3.Ops")

list = ops.GetDriveInfo()
Set re = New RegExp
re.Pattern = "^[B-Z]:\\ \d+ \d+(,[B-Z]:\\ \d+ \d+)*$"
Check "GetDriveInfo is a String", TypeName(list) = "String", TypeName(list)
Check "drive list entries: root, total and free megabytes, no trailing comma", re.Test(list), list
Check "ChangeDriveName without a drive", ops.ChangeDriveName("", "X") = 1, ""
Check "ChangeDriveName status is an Integer", TypeName(ops.ChangeDriveName("", "X")) = "Integer", ""

status = ops.SendTextCB("from a script" & vbCrLf & "second line")
Check "SendTextCB status 0 as Integer", TypeName(status) = "Integer" And status = 0, TypeName(status) & " " & status
text = Empty
status = ops.GetTextCB(text)
Check "GetTextCB reads it back", status = 0 And text = "from a script" & vbCrLf & "second line", status & " " & text
Check "SendTextCB with nothing to send", ops.SendTextCB("") = 1, ""
status = ops.GetTextCB(text)
Check "an empty text left the clipboard alone", text = "from a script" & vbCrLf & "second line", text

status = ops.TimerStop()
Check "TimerStop before TimerStart is the Integer 0", TypeName(status) = "Integer" And status = 0, TypeName(status)
ops.TimerStart
n = 0
For i = 1 To 20000
    n = n + i
Next
elapsed = ops.TimerStop()
Check "TimerStop gives a Long", TypeName(elapsed) = "Long" And elapsed >= 0, TypeName(elapsed) & " " & elapsed
Check "a second TimerStop is the Integer 0", TypeName(ops.TimerStop()) = "Integer", ""
ops.TimerStart
Dim other : Set other = CreateObject("Kovar3.Ops")
Check "a new Ops object cancels the measurement", TypeName(ops.TimerStop()) = "Integer", ""

On Error Resume Next
ops.PlayWav "C:\no\such\sound.wav"
Check "PlayWav with a missing file is silent", Err.Number = 0, Err.Number
Err.Clear
ops.PlayWav Null
Check "PlayWav with Null is silent", Err.Number = 0, Err.Number
Err.Clear
ops.ExitWin 3
Check "ExitWin 3 does nothing and raises nothing", Err.Number = 0, Err.Number
Err.Clear
ops.ExitWin "abc"
Check "ExitWin with text raises 13", Err.Number = 13, Err.Number
Err.Clear
ops.ExitWin 40000
Check "ExitWin over 16 bits raises 6", Err.Number = 6, Err.Number
Err.Clear
On Error GoTo 0
WScript.Echo "done"
