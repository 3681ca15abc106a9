' Asks for a colour and shows its code.
'
'   cscript //nologo choose_colour.vbs
'
' ColorDlg shows the Color dialogue and gives the colour as RRGGBB (red, green, blue in
' hexadecimal), or "0" when the user cancels. The code is the form SetBackColor and
' SetSystemColor take.
Option Explicit

Dim ops, code
Set ops = CreateObject("Kovar3.Ops")

code = ops.ColorDlg()
If code = "0" Then
    WScript.Echo "No colour chosen."
    WScript.Quit 1
End If
WScript.Echo "Colour code " & code & ": red " & CLng("&H" & Mid(code, 1, 2)) & _
             ", green " & CLng("&H" & Mid(code, 3, 2)) & ", blue " & CLng("&H" & Mid(code, 5, 2))
