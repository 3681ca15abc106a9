' The dialogue members in the real script host. dialog_answer.exe (built beside the test
' executable) plays the user: started just before each call, it waits for the dialogue by its
' title, fills it in and presses OK or Cancel.
Option Explicit
Sub Check(name, condition, detail)
    If condition Then
        WScript.Echo "ok " & name
    Else
        WScript.Echo "not ok " & name & ": " & detail
    End If
End Sub

Dim sh, fso, ops, driver, folder, r
Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
Set ops = CreateObject("Kovar3.Ops")
driver = fso.GetParentFolderName(fso.GetParentFolderName(fso.GetParentFolderName(WScript.ScriptFullName))) & _
         "\build\x64\dialog_answer.exe"

' Starts the driver without waiting for it: it answers the dialogue the next call shows.
Sub Answer(title, action)
    sh.Run """" & driver & """ """ & title & """ " & action, 0, False
End Sub

folder = fso.GetSpecialFolder(2) & "\" & fso.GetTempName()
fso.CreateFolder folder
fso.CreateTextFile(folder & "\a.txt").Close
fso.CreateTextFile(folder & "\b.txt").Close

Answer "Pick a text file", "open a.txt"
r = ops.OpenDlg("Pick a text file", "txt", folder)
Check "OpenDlg gives the chosen path", r = folder & "\a.txt", r
Check "OpenDlg answers a String", TypeName(r) = "String", TypeName(r)

Answer "Select Files", "open a.txt b.txt"
r = ops.OpenMultiDlg("", "", folder)
Check "OpenMultiDlg joins two paths with *", r = folder & "\a.txt*" & folder & "\b.txt", r

Answer "Select Files", "open """ & folder & "\report"""
r = ops.SaveDlg("", "")
Check "SaveDlg appends txt", r = folder & "\report.txt", r

Answer "Open File", "cancel"
r = ops.OpenDlg("", "", "")
Check "cancelled OpenDlg gives an empty String", r = "" And TypeName(r) = "String", TypeName(r) & " " & r

' Choosing a file made its folder the host's current folder (and the drivers started since
' then inherit it); a current folder cannot be removed.
sh.CurrentDirectory = fso.GetSpecialFolder(2)

Answer "*", "color 0 0 255"
r = ops.ColorDlg()
Check "ColorDlg gives 0000FF for pure blue", r = "0000FF", r

Answer "*", "cancel"
r = ops.ColorDlg()
Check "cancelled ColorDlg gives ""0""", r = "0", r

fso.DeleteFolder folder, True
WScript.Echo "done"
