' System colours: reads the colour of all sixteen window elements, changes the selection
' colour, reads it back and puts the old colour back.
' Run:  cscript //nologo colors.vbs [RRGGBB]      (default FF8000, orange)
Option Explicit

Dim ops, names, name, newCode, oldCode, status
Set ops = CreateObject("Kovar3.Ops")

names = Array("TitleBar", "TitleBar2", "TitleBarText", "InactiveTitleBar", "InactiveTitleBar2", _
              "InactiveTitleBarText", "Buttons", "Scrollbars", "Desktop", "ButtonText", _
              "Selection", "SelText", "Menu", "MenuText", "WindowBackground", "WindowBackText")

WScript.Echo "Colours in use (GetSystemColor):"
For Each name In names
    WScript.Echo "  " & Left(name & Space(22), 22) & ops.GetSystemColor(name)
Next

newCode = "FF8000"
If WScript.Arguments.Count > 0 Then newCode = WScript.Arguments(0)

oldCode = ops.GetSystemColor("Selection")
status = ops.SetSystemColor("Selection", newCode)
WScript.Echo "SetSystemColor(""Selection"", """ & newCode & """) = " & status & "  (" & TypeName(status) & ")"
Select Case status
    Case 0: WScript.Echo "  set at once and recorded under HKCU\Control Panel\Colors"
    Case 1: WScript.Echo "  no element of that name"
    Case 2: WScript.Echo "  not a six-digit hexadecimal code RRGGBB"
    Case 3: WScript.Echo "  Windows refused the colour; nothing changed"
    Case 4: WScript.Echo "  set at once, but the user's profile could not be written"
    Case Else: WScript.Echo "  failed"
End Select
WScript.Echo "Selection now: " & ops.GetSystemColor("Selection")

status = ops.SetSystemColor("Selection", oldCode)
WScript.Echo "Put back " & oldCode & ": status " & status & ", selection now " & ops.GetSystemColor("Selection")
