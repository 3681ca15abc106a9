Attribute VB_Name = "Quickstart"
' Kovar3 quick start in VBA (Excel, Word, Access): who and where, a registry value, an INI
' file, a DLL's version. Early binding: first add the reference Tools > References > Kovar3
' (or Browse... to kovar3.tlb), then File > Import File... this module and run Quickstart.
' Output goes to the Immediate window (Ctrl+G). 64-bit Office uses the 64-bit build, 32-bit
' Office the 32-bit build: install.cmd registers both.
Option Explicit

Public Sub Quickstart()
    Dim ops As Kovar3.Ops
    Dim ini As Kovar3.INIEdit
    ' Outputs and every variable passed to a member are Variants: a member's parameters are
    ' ByRef Variants, and VBA refuses a typed variable (String) there.
    Dim version As Variant, data As Variant, kind As Variant, path As Variant
    Dim pe As Object, f As Integer
    Set ops = New Kovar3.Ops
    Set ini = New Kovar3.INIEdit

    ' 1. Who and where. GetOpVersion hands the version back through its parameter.
    Debug.Print "User " & ops.GetCurUser() & " on " & ops.GetCompName()
    If ops.GetOpVersion(version) = 0 Then
        Debug.Print "Windows " & version(1) & "." & version(2) & " build " & version(3)
    End If

    ' 2. A registry value and its type code ("S" is text).
    If ops.RegGetValue("HKLM", "Software\Microsoft\Windows NT\CurrentVersion", "ProductName", _
                       data, kind) = 0 Then
        Debug.Print "Product: " & data & " (type " & kind & ")"
    End If

    ' 3. An INI value written and read back. INIEdit writes only into files that exist.
    path = Environ$("TEMP") & "\kovar3-quickstart.ini"
    f = FreeFile
    Open path For Output As #f
    Close #f
    If ini.WriteIniVal(path, "Settings", "Colour", "blue") Then
        Debug.Print "INI value: " & ini.GetIniVal(path, "Settings", "Colour")
    End If
    Kill path

    ' 4. A system DLL described by its version resource.
    Set pe = ops.GetPEFile(Environ$("SystemRoot") & "\System32\kernel32.dll")
    Debug.Print pe.Name & " " & pe.FileVersion & ", " & pe.Size & " KB"
End Sub
