' Tells why a script cannot create Kovar3's objects, and what to run to fix it.
' Run it with the host your script runs in:
'   cscript //nologo check.vbs                                 the 64-bit host (64-bit Windows)
'   C:\Windows\SysWOW64\cscript.exe //nologo check.vbs         the 32-bit host
' It reads the registry itself and needs nothing of Kovar3 to work. Double-clicked, it shows
' its answer in one message box. Exit code: 0 when this host can create Kovar3.Ops and
' Kovar3.INIEdit, 1 when it cannot.
Option Explicit

Const OPS_CLSID = "{D7C8D239-DB21-4A64-978F-207C9E8C01B6}"
Const INIEDIT_CLSID = "{72C8F742-2597-4A02-95CE-5ECCE06993F8}"
' The type library: its identity, version 52.0 (34.0 in hexadecimal) and locale 409.
Const TYPELIB_KEY = "TypeLib\{C97049F9-E2B8-45ED-B16C-B0FABC716780}\34.0\409\"

Dim shell, fso, report
Dim sysRoot, windows64, host64, bits, otherBits, platform, osText
Dim userDll, machineDll, userTypeLib, machineTypeLib, effectiveDll, typeLibDll
Dim otherUser, otherMachine, otherRegistered, otherText, opsError, iniError
Dim here, packageDll, regsvr, installCommand, machineCommand, thisHostCommand, otherHost
Dim wrongBuild
Set shell = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
report = ""

Sub Say(line)
    report = report & line & vbCrLf
End Sub

' A registry value, or "" when the key or the value is not there. The host reads its own view:
' a 32-bit host sees the 32-bit build's class keys, a 64-bit host the 64-bit build's.
Function ReadReg(path)
    On Error Resume Next
    ReadReg = ""
    ReadReg = shell.RegRead(path)
    If Err.Number <> 0 Then ReadReg = ""
    Err.Clear
End Function

' Whether a key exists in the other host's view, asked of reg.exe, which can read either view.
Function OtherViewHasKey(path)
    Dim code
    code = shell.Run("reg.exe query """ & path & """ /reg:" & otherBits, 0, True)
    OtherViewHasKey = (code = 0)
End Function

Function Quoted(text)
    Quoted = """" & text & """"
End Function

' --- Which host is this ----------------------------------------------------------------------
sysRoot = fso.GetSpecialFolder(0).Path   ' the Windows folder
' A 32-bit host on 64-bit Windows sees PROCESSOR_ARCHITECTURE x86 and PROCESSOR_ARCHITEW6432 set.
host64 = (UCase(shell.Environment("Process")("PROCESSOR_ARCHITECTURE")) <> "X86")
windows64 = host64 Or (shell.Environment("Process")("PROCESSOR_ARCHITEW6432") <> "")
If host64 Then
    bits = "64": otherBits = "32": platform = "win64"
Else
    bits = "32": otherBits = "64": platform = "win32"
End If

If windows64 Then osText = "64-bit Windows" Else osText = "32-bit Windows"
Say "Kovar3 check in the " & bits & "-bit script host (" & WScript.FullName & ") on " & osText & "."
Say ""

' --- What is registered for this host ----------------------------------------------------------
' Returns the DLL a hive names for Kovar3.Ops in this host's view ("" when none), and says so.
Function DescribeHive(hive, label)
    Dim classes, ops, iniEdit, typeLib
    classes = hive & "\Software\Classes\"
    ops = ReadReg(classes & "CLSID\" & OPS_CLSID & "\InprocServer32\")
    iniEdit = ReadReg(classes & "CLSID\" & INIEDIT_CLSID & "\InprocServer32\")
    typeLib = ReadReg(classes & TYPELIB_KEY & platform & "\")
    DescribeHive = ops
    If ops = "" And iniEdit = "" And typeLib = "" Then
        Say "Registered " & label & ": no."
        Exit Function
    End If
    Say "Registered " & label & ":"
    SayEntry "Kovar3.Ops", ops
    SayEntry "Kovar3.INIEdit", iniEdit
    SayEntry "type library", typeLib
End Function

Sub SayEntry(name, dll)
    Dim line
    line = "  " & Left(name & ":" & Space(16), 16)
    If dll = "" Then
        Say line & "not registered"
    ElseIf fso.FileExists(dll) Then
        Say line & dll & " (the file is there)"
    Else
        Say line & dll & " (THE FILE IS MISSING)"
    End If
End Sub

userDll = DescribeHive("HKCU", "for you (HKEY_CURRENT_USER)")
machineDll = DescribeHive("HKLM", "for the machine (HKEY_LOCAL_MACHINE)")
userTypeLib = ReadReg("HKCU\Software\Classes\" & TYPELIB_KEY & platform & "\")
machineTypeLib = ReadReg("HKLM\Software\Classes\" & TYPELIB_KEY & platform & "\")

otherRegistered = False
If windows64 Then
    otherUser = OtherViewHasKey("HKCU\Software\Classes\CLSID\" & OPS_CLSID & "\InprocServer32")
    otherMachine = OtherViewHasKey("HKLM\Software\Classes\CLSID\" & OPS_CLSID & "\InprocServer32")
    otherRegistered = otherUser Or otherMachine
    If otherUser And otherMachine Then
        otherText = "registered for you and for the machine"
    ElseIf otherUser Then
        otherText = "registered for you"
    ElseIf otherMachine Then
        otherText = "registered for the machine"
    Else
        otherText = "not registered"
    End If
    Say "For " & otherBits & "-bit hosts Kovar3 is " & otherText & "."
End If
Say ""

' --- Can this host create the objects ----------------------------------------------------------
Function TryCreate(progId)
    Dim obj
    On Error Resume Next
    Set obj = CreateObject(progId)
    If Err.Number = 0 Then
        TryCreate = ""
        Say "Creating " & progId & " in this host: works."
    Else
        TryCreate = "error " & Err.Number & " (" & Err.Description & ")"
        Say "Creating " & progId & " in this host: fails with " & TryCreate & "."
    End If
    Err.Clear
End Function

opsError = TryCreate("Kovar3.Ops")
iniError = TryCreate("Kovar3.INIEdit")
Say ""

' --- What to run -------------------------------------------------------------------------------
here = fso.GetParentFolderName(WScript.ScriptFullName)
If host64 Then packageDll = here & "\x64\kovar3.dll" Else packageDll = here & "\x86\kovar3.dll"
If host64 Or Not windows64 Then
    regsvr = sysRoot & "\System32\regsvr32.exe"
Else
    regsvr = sysRoot & "\SysWOW64\regsvr32.exe"
End If
If fso.FileExists(here & "\install.cmd") Then
    installCommand = Quoted(here & "\install.cmd")
    machineCommand = installCommand & " /machine"
Else
    installCommand = "install.cmd (in the folder you unpacked Kovar3 into)"
    machineCommand = "install.cmd /machine (in the folder you unpacked Kovar3 into)"
End If
thisHostCommand = ""
If fso.FileExists(packageDll) Then thisHostCommand = regsvr & " /n /i:user " & Quoted(packageDll)
If host64 Then
    otherHost = sysRoot & "\SysWOW64\cscript.exe"
Else
    otherHost = sysRoot & "\System32\cscript.exe (from a 64-bit prompt)"
End If

Sub SayFix(lines)
    Say "To fix it, run:"
    Say "  " & lines
End Sub

Sub SayThisHostOnly()
    If thisHostCommand <> "" Then
        Say "or, for this host only:"
        Say "  " & thisHostCommand
    End If
End Sub

If userDll <> "" Then effectiveDll = userDll Else effectiveDll = machineDll
If userTypeLib <> "" Then typeLibDll = userTypeLib Else typeLibDll = machineTypeLib

If opsError = "" And iniError = "" Then
    If typeLibDll = "" Then
        Say "Scripts in this host can use Kovar3. The type library is not registered, so VBA and"
        Say "other tools that read type libraries will not list Kovar3 among their references."
        SayFix installCommand
    ElseIf Not fso.FileExists(typeLibDll) Then
        Say "Scripts in this host can use Kovar3. The type library's registration names a file"
        Say "that is missing, so VBA references to Kovar3 will not load."
        SayFix installCommand
    Else
        Say "All is well: scripts run by this host can use Kovar3."
    End If
    WScript.Echo report
    WScript.Quit 0
End If

If effectiveDll = "" Then
    If otherRegistered Then
        Say "What is wrong: Kovar3 is registered for " & otherBits & "-bit hosts only, and this is the " & _
            bits & "-bit host."
        Say "Run your script with " & otherHost & ", or register the " & bits & "-bit build too."
    Else
        Say "What is wrong: Kovar3 is not registered for " & bits & "-bit hosts."
    End If
    SayFix installCommand
    SayThisHostOnly
ElseIf Not fso.FileExists(effectiveDll) Then
    Say "What is wrong: the registration names " & effectiveDll & ", which is not there (moved or"
    Say "deleted). Register Kovar3 again from where it is now."
    SayFix installCommand
    SayThisHostOnly
Else
    wrongBuild = False
    If host64 And InStr(1, effectiveDll, "\x86\", vbTextCompare) > 0 Then wrongBuild = True
    If Not host64 And InStr(1, effectiveDll, "\x64\", vbTextCompare) > 0 Then wrongBuild = True
    If wrongBuild Then
        Say "What is wrong: the registration for " & bits & "-bit hosts names " & effectiveDll & ","
        Say "which looks like the other build: a " & bits & "-bit host can load only the " & bits & "-bit DLL."
        SayFix installCommand
        SayThisHostOnly
    ElseIf userDll <> "" And machineDll = "" Then
        Say "What is wrong: Kovar3 is registered for you only, and this host does not use that"
        Say "registration. Programs run as administrator ignore registrations made for one user, and"
        Say "some environments read only the machine's. Run the script without administrator rights,"
        Say "or register Kovar3 for every user: from an elevated prompt (Run as administrator),"
        Say "  " & machineCommand
    Else
        Say "What is wrong: Windows finds the registration but cannot load " & effectiveDll & "."
        Say "Register it again; if that does not help, unpack the archive again (the DLL may be damaged)."
        SayFix installCommand
        SayThisHostOnly
    End If
End If
WScript.Echo report
WScript.Quit 1
