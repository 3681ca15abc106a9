' Wallpaper: makes a bitmap the desktop wallpaper. The bitmap is copied to kovarwp.bmp in the
' Windows folder and the copy becomes the wallpaper; your own file is never changed.
' Run:  cscript //nologo wallpaper.vbs [bitmap.bmp] [center|tile|stretch]
'       (default: kovar3.bmp beside this script, tiled)
Option Explicit

Dim ops, fso, path, style, status
Set ops = CreateObject("Kovar3.Ops")
Set fso = CreateObject("Scripting.FileSystemObject")

path = fso.BuildPath(fso.GetParentFolderName(WScript.ScriptFullName), "kovar3.bmp")
style = "tile"
If WScript.Arguments.Count > 0 Then path = fso.GetAbsolutePathName(WScript.Arguments(0))
If WScript.Arguments.Count > 1 Then style = WScript.Arguments(1)

status = ops.SetWallpaper(path, style)
WScript.Echo "SetWallpaper(""" & path & """, """ & style & """) = " & status & "  (" & TypeName(status) & ")"
Select Case status
    Case 0: WScript.Echo "  the wallpaper is now " & fso.BuildPath(fso.GetSpecialFolder(0), "kovarwp.bmp")
    Case 1: WScript.Echo "  no such file, or it is not a .bmp"
    Case 2: WScript.Echo "  the style must be center, tile or stretch"
    Case 3: WScript.Echo "  the wallpaper could not be copied, recorded or applied"
End Select
