' System colours and the wallpaper through the script host: result types, refusals that change
' nothing, and one colour set, read back and put back (the colour and its profile value).
Option Explicit

Dim ops, shell, fso, original, profileText, r
Set ops = CreateObject("Kovar3.Ops")
Set shell = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")

Sub Check(name, value, expectedType, expected)
    If TypeName(value) <> expectedType Then
        WScript.Echo "not ok " & name & ": type " & TypeName(value) & ", expected " & expectedType
    ElseIf CStr(value) <> CStr(expected) Then
        WScript.Echo "not ok " & name & ": got [" & value & "], expected [" & expected & "]"
    Else
        WScript.Echo "ok " & name
    End If
End Sub

original = ops.GetSystemColor("Selection")
Check "colour is six characters", Len(original), "Long", 6
profileText = shell.RegRead("HKCU\Control Panel\Colors\Hilight")

Check "set", ops.SetSystemColor("selection", "1a2b3c"), "Integer", 0
Check "read back in upper case", ops.GetSystemColor("SELECTION"), "String", "1A2B3C"
Check "profile text", shell.RegRead("HKCU\Control Panel\Colors\Hilight"), "String", "26 43 60"
Check "unknown element", ops.SetSystemColor("Selected", "000000"), "Integer", 1
Check "short code", ops.SetSystemColor("Selection", "12345"), "Integer", 2
Check "code with a sign", ops.SetBackColor("-12345"), "Integer", 1
Check "Null code", ops.SetSystemColor("Selection", Null), "Integer", 4
Check "refusals changed nothing", ops.GetSystemColor("Selection"), "String", "1A2B3C"
Check "unknown element read", ops.GetSystemColor("nothing"), "String", "0"

Check "put back", ops.SetSystemColor("Selection", original), "Integer", 0
shell.RegWrite "HKCU\Control Panel\Colors\Hilight", profileText, "REG_SZ"
Check "colour put back", ops.GetSystemColor("Selection"), "String", original

Check "wallpaper: missing file", ops.SetWallpaper("C:\no\such\picture.bmp", "tile"), "Integer", 1
Check "wallpaper: unknown style", ops.SetWallpaper(WScript.ScriptFullName, "zoom"), "Integer", 2
Check "wallpaper: not a bitmap", ops.SetWallpaper(WScript.ScriptFullName, "tile"), "Integer", 1
Check "wallpaper: Null", ops.SetWallpaper(Null, "tile"), "Integer", 3

WScript.Echo "done"
