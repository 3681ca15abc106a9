' Windows, processes and file types as VBScript sees them: a window made by the test window
' maker is listed, activated, read back and closed; the process list names this host; the
' program for ".ini" files is found. Every wait has a time limit.
Option Explicit
Sub Check(name, condition, detail)
    If condition Then
        WScript.Echo "ok " & name
    Else
        WScript.Echo "not ok " & name & ": " & detail
    End If
End Sub

' Seconds since t0, across midnight too.
Function Elapsed(t0)
    Elapsed = Timer - t0
    If Elapsed < 0 Then Elapsed = Elapsed + 86400
End Function

Function Listed(ops, title)
    Dim titles, n, i
    Listed = False
    n = ops.GetOpenWindowTitles(titles)
    If n > 0 Then
        For i = 0 To UBound(titles)
            If titles(i) = title Then Listed = True
        Next
    End If
End Function

Function WaitListed(ops, title, wanted, seconds)
    Dim t0 : t0 = Timer
    Do
        WaitListed = (Listed(ops, title) = wanted)
    Loop Until WaitListed Or Elapsed(t0) > seconds
End Function

Dim ops, sh, fso, status, list, count, titles, n, maker, logPath, title, t0, active
Set ops = CreateObject("Kovar3.Ops")
Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")

status = ops.GetProcessList(list, count)
Check "GetProcessList status is a 16-bit 0", TypeName(status) = "Integer" And status = 0, TypeName(status) & " " & status
Check "process count is Integer", TypeName(count) = "Integer", TypeName(count)
Check "process count matches the list", UBound(Split(list, ",")) + 1 = count, count & " for " & list
Check "the list names this host", InStr(1, "," & LCase(list) & ",", ",cscript.exe,") > 0, list

maker = fso.GetAbsolutePathName(fso.BuildPath(fso.GetParentFolderName(WScript.ScriptFullName), _
        "..\..\build\x64\fixtures\kovar3_window_maker.exe"))
logPath = fso.BuildPath(fso.GetSpecialFolder(2), "kovar3-script-windows.log")
title = "Kovar3 Script Window"
sh.Run """" & maker & """ """ & logPath & """ --lifetime 30000 --close-ends ""show:" & title & """", 1, False
Check "the window is listed", WaitListed(ops, title, True, 10), "not within 10 s"

n = ops.GetOpenWindowTitles(titles)
Check "GetOpenWindowTitles count is Long", TypeName(n) = "Long" And n >= 1, TypeName(n) & " " & n
Check "titles array from 0 to count - 1", LBound(titles) = 0 And UBound(titles) = n - 1, LBound(titles) & ".." & UBound(titles)

status = ops.SetWindowActive(title, False)
Check "SetWindowActive status is a 32-bit 0", TypeName(status) = "Long" And status = 0, TypeName(status) & " " & status
t0 = Timer
Do
    active = ops.GetActiveWindowTitle()
Loop Until active = title Or Elapsed(t0) > 5
Check "GetActiveWindowTitle reads it", active = title, active
Check "GetActiveWindowTitle is a String", TypeName(active) = "String", TypeName(active)
status = ops.SetWindowActive(LCase(title), True)
Check "titles match with their letter case", status = 2, status

ops.CloseProgram title, "1"
Check "CloseProgram closes it", WaitListed(ops, title, False, 10), "still listed after 10 s"
If fso.FileExists(logPath) Then fso.DeleteFile logPath

' Windows and Wine both register ".ini" (Wine 8 registers no ".txt").
Dim program : program = ops.GetDefaultProgram("ini")
Check "GetDefaultProgram finds a program for ini", LCase(Right(program, 4)) = ".exe", program
Check "with or without the dot", ops.GetDefaultProgram(".ini") = program, ops.GetDefaultProgram(".ini")
Check "an unknown type has none", ops.GetDefaultProgram(".kovar3-no-such-type") = "", ""

status = ops.PrintFile("C:\no\such\file.txt")
Check "PrintFile of a missing file is a 16-bit 2", TypeName(status) = "Integer" And status = 2, TypeName(status) & " " & status
WScript.Echo "done"
