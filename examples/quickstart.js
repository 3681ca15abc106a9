// Kovar3 quick start in JScript: who and where, an INI file, a DLL's version.
// JScript passes arguments by value, so members that hand values back through a parameter
// (GetOpVersion, RegGetValue) cannot fill a JScript variable; use their results or VBScript.
//
//   cscript //nologo quickstart.js
var ops = new ActiveXObject("Kovar3.Ops");
var ini = new ActiveXObject("Kovar3.INIEdit");
var fso = new ActiveXObject("Scripting.FileSystemObject");

// 1. Who and where.
WScript.Echo("User " + ops.GetCurUser() + " on " + ops.GetCompName());

// 2. An INI value written and read back. INIEdit writes only into files that exist.
var path = fso.BuildPath(fso.GetSpecialFolder(2), "kovar3-quickstart.ini");
fso.CreateTextFile(path, true).Close();
if (ini.WriteIniVal(path, "Settings", "Colour", "blue")) {
    WScript.Echo("INI value: " + ini.GetIniVal(path, "Settings", "Colour"));
}
fso.DeleteFile(path);

// 3. A system DLL described by its version resource; GetPEFile raises errors 1 to 4.
try {
    var pe = ops.GetPEFile(fso.BuildPath(fso.GetSpecialFolder(1), "kernel32.dll"));
    WScript.Echo(pe.Name + " " + pe.FileVersion + ", " + pe.Size + " KB");
} catch (e) {
    WScript.Echo("GetPEFile: error " + (e.number & 0xFFFF) + ", " + e.description);
}
