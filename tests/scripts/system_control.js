// JScript passes by value: GetTextCB's text is lost, its status still comes back.
function check(name, condition, detail) {
    WScript.Echo((condition ? "ok " : "not ok ") + name + (condition ? "" : ": " + detail));
}
var ops = new ActiveXObject("Kovar3.Ops");
var status = ops.SendTextCB("from JScript");
check("SendTextCB", status === 0, status);
status = ops.GetTextCB("");
check("GetTextCB with a literal", status === 0, status);
ops.TimerStart();
var elapsed = ops.TimerStop();
check("TimerStop is a number", typeof elapsed === "number" && elapsed >= 0, elapsed);
check("the drive list is a string", typeof ops.GetDriveInfo() === "string", "");
WScript.Echo("done");
