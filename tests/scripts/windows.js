// Windows, processes and file types as JScript sees them: arguments pass by value, so the
// outputs of GetProcessList and GetOpenWindowTitles are lost while their results arrive.
function check(name, condition, detail) {
    WScript.Echo((condition ? "ok " : "not ok ") + name + (condition ? "" : ": " + detail));
}

var ops = new ActiveXObject("Kovar3.Ops");
var list = "", count = 0;
check("GetProcessList answers 0", ops.GetProcessList(list, count) === 0, "");
check("by-value outputs keep their values", list === "" && count === 0, list + " " + count);
var n = ops.GetOpenWindowTitles("");
check("GetOpenWindowTitles answers a number", typeof n === "number", typeof n);
check("no such window is status 1 or 2", ops.SetWindowActive("Kovar3 no such window", true) >= 1, "");
check("GetActiveWindowTitle is a string", typeof ops.GetActiveWindowTitle() === "string", "");
check("CloseProgram without a window is silent", ops.CloseProgram("Kovar3 no such window", 1) === undefined, "");
check("GetDefaultProgram with or without the dot",
      ops.GetDefaultProgram("txt") === ops.GetDefaultProgram(".txt"), ops.GetDefaultProgram("txt"));
check("PrintFile of a folder is 2", ops.PrintFile("C:\\windows") === 2, ops.PrintFile("C:\\windows"));
WScript.Echo("done");
