// JScript passes every argument by value: outputs are lost, statuses still come back.
function check(name, condition, detail) {
    WScript.Echo((condition ? "ok " : "not ok ") + name + (condition ? "" : ": " + detail));
}
var ops = new ActiveXObject("Kovar3.Ops");
var base = "Software\\Kovar3 Tests\\registry.js";
var status = ops.RegWriteValue("HKCU", base, "n", 7, "D");
check("write a DWORD", status === 0, status);
status = ops.RegGetValue("HKCU", base, "n", "", "");
check("read with literal outputs", status === 0, status);
status = ops.RegWriteValue("HKCU", base, "b", [1, 2], "B");
check("a JScript array is not an array to the component", status === 8, status);
// A name the code page cannot hold reaches nothing, not the look-alike "zx".
ops.RegWriteValue("HKCU", base + "\\zx", "v", "kept", "S");
status = ops.RegDeleteSubkey("HKCU", base, "\u017Ax");
check("a name outside the code page is refused", status === 4, status);
status = ops.RegGetValue("HKCU", base + "\\zx", "v", "", "");
check("the look-alike key is still there", status === 0, status);
status = ops.RegListKeys("HKCU", "Software\\Kovar3 Tests", null);
check("list with a literal output", status === 0, status);
status = ops.RegDeleteSubkey("HKCU", "Software\\Kovar3 Tests", "registry.js");
check("delete", status === 0, status);
WScript.Echo("done");
