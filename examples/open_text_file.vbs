' Asks for a text file and shows its first line.
'
'   cscript //nologo open_text_file.vbs [starting folder]
'
' OpenDlg shows the Open File dialogue listing *.txt files, starting in the folder given (or
' where Windows likes when none is given or it does not exist). Cancel ends the script quietly.
Option Explicit

Dim ops, fso, folder, path, stream
Set ops = CreateObject("Kovar3.Ops")
Set fso = CreateObject("Scripting.FileSystemObject")

folder = ""
If WScript.Arguments.Count > 0 Then folder = WScript.Arguments(0)

path = ops.OpenDlg("Choose a text file", "txt", folder)
If path = "" Then
    WScript.Echo "Nothing chosen."
    WScript.Quit 1
End If
' The dialogue lets the user type a name that does not exist yet.
If Not fso.FileExists(path) Then
    WScript.Echo "There is no file " & path
    WScript.Quit 1
End If

Set stream = fso.OpenTextFile(path, 1)
If stream.AtEndOfStream Then
    WScript.Echo path & " is empty."
Else
    WScript.Echo path & " begins with:"
    WScript.Echo "  " & stream.ReadLine
End If
stream.Close
