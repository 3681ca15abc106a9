' Reading and writing an INI file with Kovar3.INIEdit.
'
'   cscript //nologo ini.vbs
'
' Creates settings.ini in the temp folder (INIEdit never creates files), writes and reads a
' few values, lists keys and sections, deletes a key and a section, and removes the file.
Option Explicit

Dim fso, ini, path, names, lines, i
Set fso = CreateObject("Scripting.FileSystemObject")
Set ini = CreateObject("Kovar3.INIEdit")

path = fso.GetSpecialFolder(2) & "\settings.ini"
fso.CreateTextFile(path, True).Close          ' the file must exist before INIEdit writes to it

ini.WriteIniVal path, "Window", "Left", "120"
ini.WriteIniVal path, "Window", "Top", "80"
ini.WriteIniVal path, "Recent", "File1", "C:\Reports\march.txt"
ini.WriteIniSection path, "Colors", "Back=FFFFFF" & Chr(0) & "Fore=000000"

WScript.Echo "Window.Left = " & ini.GetIniVal(path, "Window", "Left")
WScript.Echo "Missing key gives """ & ini.GetIniVal(path, "Window", "Width") & """"

' Lists come back with a NUL character after every entry.
names = Split(ini.GetIniSectionNames(path), Chr(0))
For i = 0 To UBound(names) - 1
    WScript.Echo "Section: " & names(i)
Next
lines = Split(ini.GetIniSectionVals(path, "Colors"), Chr(0))
For i = 0 To UBound(lines) - 1
    WScript.Echo "  Colors: " & lines(i)
Next

' The value text "null" deletes a key; the key text "null" deletes a whole section.
ini.WriteIniVal path, "Window", "Top", "null"
ini.WriteIniVal path, "Recent", "null", ""
WScript.Echo "Keys left in Window: " & Replace(ini.GetIniSectionKeys(path, "Window"), Chr(0), " ")
WScript.Echo "Sections left: " & Replace(ini.GetIniSectionNames(path), Chr(0), " ")

'' Text with a line break would add lines to the file: it is refused and nothing is written.
WScript.Echo "Write a value with a line break: " & _
    ini.WriteIniVal(path, "Window", "Title", "My app" & vbCrLf & "[Admin]")

' A file that does not exist is never created: reads give "", writes False.
WScript.Echo "Write to a missing file: " & ini.WriteIniVal(path & ".missing", "S", "K", "V")

fso.DeleteFile path
