// The calling convention as JScript sees it: every argument passes by value, so outputs are
// lost, while results and raised errors arrive as in VBScript.
function check(name, condition, detail) {
    WScript.Echo((condition ? "ok " : "not ok ") + name + (condition ? "" : ": " + detail));
}

var ops = new ActiveXObject("Kovar3.Ops");
var v = 7;
var status = ops.GetOpVersion(v);
check("GetOpVersion succeeds with a by-value output", status === 0, status);
check("by-value output keeps its value", v === 7, v);
check("user name is a string", typeof ops.GetCurUser() === "string", typeof ops.GetCurUser());
check("colour depth is a number", typeof ops.GetColorDepthBPP() === "number", typeof ops.GetColorDepthBPP());

try {
    ops.GetPEFile("C:\\no\\such\\file.dll");
    check("GetPEFile raises", false, "no error");
} catch (e) {
    check("GetPEFile error number 1", (e.number & 0xFFFF) === 1, e.number);
    check("GetPEFile error description", e.description === "Bad file path.", e.description);
}

var ini = new ActiveXObject("Kovar3.INIEdit");
check("INIEdit answers by name", typeof ini.GetIniSectionNames("C:\\no\\such.ini") === "string", "");
WScript.Echo("done");
