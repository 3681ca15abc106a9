#!/usr/bin/env bash
# The release archive as a new user meets it: built by scripts/package.sh, unpacked into a
# fresh Wine prefix of its own (build/archive-prefix) under a folder whose name holds a blank
# and parentheses, installed with install.cmd through Wine's cmd, checked with check.vbs, used
# by an example, uninstalled; the registry of both hives compared before and after.
# Prints "ok <case>", "not ok <case>: detail" or "skip <case>: reason" lines and "done".
# Run by scripts/test.sh after the build; alone: bash tests/package/archive_test.sh
set -uo pipefail
cd "$(dirname "$0")/../.."
source scripts/wine-env.sh
export WINEPREFIX="$KOVAR3_ROOT/build/archive-prefix"
work=build/archive-test
rm -rf "$work"
mkdir -p "$work"

ok() { echo "ok $1"; }
not_ok() { echo "not ok $1: $2"; }
skip() { echo "skip $1: $2"; }
check() {  # case, condition command...: ok when the command succeeds
    local name=$1; shift
    if "$@"; then ok "$name"; else not_ok "$name" "$(tail -c 600 "$log" 2>/dev/null | tr '\r\n' '  ')"; fi
}
has() { grep -qF -- "$1" "$log"; }
lacks() { ! grep -qF -- "$1" "$log"; }

version=$(head -n1 VERSION)
archive=dist/kovar3-$version.zip

# --- The archive ---------------------------------------------------------------------------
log=$work/package.log
bash scripts/package.sh >"$log" 2>&1
check "package.sh builds $archive" test -f "$archive"
check "SHA256SUMS beside the archive matches it" bash -c "cd dist && sha256sum --quiet -c SHA256SUMS"
check "CHANGES.md has an entry for $version" grep -qx "## $version" CHANGES.md
unzip -Z1 "$archive" >"$work/contents" 2>&1
missing=""
for entry in x64/kovar3.dll x86/kovar3.dll kovar3.tlb install.cmd uninstall.cmd check.vbs \
    README.txt CHANGES.md $(find docs examples -type f | sort); do
    grep -qx "$entry" "$work/contents" || missing="$missing $entry"
done
log=$work/contents
check "the archive holds the DLLs, the type library, the scripts, docs/ and examples/" test -z "$missing"
[ -z "$missing" ] || echo "  missing:$missing"
check "install.cmd has Windows line ends" bash -c "unzip -p '$archive' install.cmd | head -1 | grep -q \$'\\r\$'"

# --- A fresh prefix, the archive unpacked -------------------------------------------------
rm -rf "$WINEPREFIX"
ensure_prefix
folder_unix="$WINEPREFIX/drive_c/Kovar3 Tools (test)/kovar3-$version"
folder='C:\Kovar3 Tools (test)\kovar3-'$version
mkdir -p "$folder_unix"
unzip -q "$archive" -d "$folder_unix"

# Every line of either hive that names one of Kovar3's identities or its DLL, and the key names
# below the user's Software\Classes (Wine registers its own classes for the machine as programs
# first run, so the machine's key list is not compared). The registry files are written when
# the prefix's wineserver has exited.
guids='D7C8D239|72C8F742|8F34DA97|61E27D3D|ED5D1C1B|C16A52BF|C97049F9|Kovar3\.'
snapshot() {  # name: writes $work/<name>.keys and $work/<name>.<hive>.kovar3
    "$KOVAR3_ROOT/scripts/wine-wait.sh"
    local hive
    for hive in system user; do
        grep -iE "$guids" "$WINEPREFIX/$hive.reg" >"$work/$1.$hive.kovar3"
    done
    # Software\Classes itself is left alone: on Windows it always exists (the user's classes
    # hive); a fresh Wine prefix has none until something is registered for the user.
    grep -E '^\[' "$WINEPREFIX/user.reg" | sed 's/\] .*/]/' | grep -i '^\[Software\\\\Classes\\\\' |
        sort >"$work/$1.keys"
}
# Runs in the unpacked folder, as a user who opened a prompt there does.
run() {  # log name, windows program and arguments...: output in $log, exit code in $code
    log=$work/$1.log; shift
    (cd "$folder_unix" && "$WINE64" "$@" </dev/null 2>&1) | tr -d '\r' >"$log"
    code=${PIPESTATUS[0]}
}

run check-before cscript //nologo "$folder\\check.vbs"
check "check.vbs before installing: not registered, names install.cmd, exit 1" \
    bash -c "[ $code -eq 1 ] && grep -qF 'Kovar3 is not registered for 64-bit hosts' '$log' &&
             grep -qF 'To fix it, run:' '$log' && grep -qF '\"$folder\\install.cmd\"' '$log' &&
             grep -qF 'regsvr32.exe /n /i:user \"$folder\\x64\\kovar3.dll\"' '$log'"
snapshot before
log=$work/before.system.kovar3
check "a fresh prefix holds nothing of Kovar3" test ! -s "$work/before.system.kovar3" -a ! -s "$work/before.user.kovar3"

# --- Per user ------------------------------------------------------------------------------
run install-user cmd /c install.cmd
check "install.cmd registers the 64-bit build for the user" has "64-bit build: registered for you: \"$folder\\x64\\kovar3.dll\""
if can_run_32bit; then
    check "install.cmd registers the 32-bit build for the user, exit 0" \
        bash -c "[ $code -eq 0 ] && grep -qF '32-bit build: registered for you' '$log'"
else
    check "install.cmd says the 32-bit build could not be registered, exit 1 (no 32-bit programs here)" \
        bash -c "[ $code -eq 1 ] && grep -qF '32-bit build: not registered' '$log'"
fi
snapshot user
log=$work/user.system.kovar3
check "a per-user install writes nothing under HKEY_LOCAL_MACHINE" test ! -s "$log"
log=$work/user.user.kovar3
check "a per-user install writes the classes, ProgIDs and type library for the user" \
    bash -c "grep -q 'Software\\\\\\\\Classes\\\\\\\\Kovar3.Ops' '$log' &&
             grep -q 'Software\\\\\\\\Classes\\\\\\\\TypeLib\\\\\\\\{C97049F9' '$log'"

run check-user cscript //nologo "$folder\\check.vbs"
check "check.vbs finds the registration for the user, the DLL and the type library" \
    bash -c "grep -qF 'Registered for you (HKEY_CURRENT_USER):' '$log' &&
             grep -qF 'Kovar3.Ops:     $folder\\x64\\kovar3.dll (the file is there)' '$log' &&
             grep -qF 'type library:   $folder\\x64\\kovar3.dll (the file is there)' '$log' &&
             grep -qF 'Registered for the machine (HKEY_LOCAL_MACHINE): no.' '$log'"
# Windows merges HKEY_CURRENT_USER\Software\Classes into HKEY_CLASSES_ROOT; Wine 8 does not, so
# its script hosts cannot create classes registered for one user.
"$WINE64" reg add 'HKCU\Software\Classes\Kovar3.MergeProbe' /f >/dev/null 2>&1
merged=false
"$WINE64" reg query 'HKCR\Kovar3.MergeProbe' >/dev/null 2>&1 && merged=true
"$WINE64" reg delete 'HKCU\Software\Classes\Kovar3.MergeProbe' /f >/dev/null 2>&1
if $merged; then
    check "check.vbs: all is well for the user's registration" has "All is well"
    run quickstart-user cscript //nologo "$folder\\examples\\quickstart.vbs"
    check "examples\\quickstart.vbs runs in the 64-bit host on the user's registration" \
        bash -c "[ $code -eq 0 ] && grep -qF 'INI value: blue' '$log'"
else
    check "check.vbs: the user's registration is not used by this host, install /machine" \
        bash -c "[ $code -eq 1 ] && grep -qF 'registered for you only, and this host does not use' '$log' &&
                 grep -qF '\"$folder\\install.cmd\" /machine' '$log'"
    skip "examples\\quickstart.vbs on the user's registration" \
        "this Wine's HKEY_CLASSES_ROOT holds the machine's classes only; the example runs after /machine below"
fi

run uninstall-user cmd /c uninstall.cmd
check "uninstall.cmd unregisters the 64-bit build for the user" has "64-bit build: unregistered for you"
snapshot after-user
log=$work/after-user.keys
check "after uninstall.cmd nothing of Kovar3 is left in either hive" \
    bash -c "[ ! -s '$work/after-user.system.kovar3' ] && [ ! -s '$work/after-user.user.kovar3' ]"
check "after uninstall.cmd the user's class keys are as before" cmp -s "$work/before.keys" "$work/after-user.keys"
[ -s "$work/after-user.user.kovar3" ] && head -5 "$work/after-user.user.kovar3"
diff "$work/before.keys" "$work/after-user.keys" | head -5
run check-after-user cscript //nologo "$folder\\check.vbs"
check "check.vbs after uninstalling says what to run" \
    bash -c "[ $code -eq 1 ] && grep -qF 'To fix it, run:' '$log' && grep -qF '\"$folder\\install.cmd\"' '$log'"

# --- For the machine -----------------------------------------------------------------------
run install-machine cmd /c install.cmd /machine
check "install.cmd /machine registers the 64-bit build for every user" \
    has "64-bit build: registered for every user of this computer"
run check-machine cscript //nologo "$folder\\check.vbs"
check "check.vbs: registered for the machine, all is well, exit 0" \
    bash -c "[ $code -eq 0 ] && grep -qF 'Registered for the machine (HKEY_LOCAL_MACHINE):' '$log' && grep -qF 'All is well' '$log'"
run quickstart-vbs cscript //nologo "$folder\\examples\\quickstart.vbs"
check "examples\\quickstart.vbs runs in the 64-bit host" \
    bash -c "[ $code -eq 0 ] && grep -q '^User .* on ' '$log' && grep -q '^Windows [0-9]' '$log' &&
             grep -qF 'INI value: blue' '$log' && grep -qi '^kernel32.dll [0-9]' '$log'"
run quickstart-js cscript //nologo "$folder\\examples\\quickstart.js"
check "examples\\quickstart.js runs in the 64-bit host" \
    bash -c "[ $code -eq 0 ] && grep -qF 'INI value: blue' '$log' && grep -qi '^kernel32.dll [0-9]' '$log'"
if can_run_32bit; then
    run quickstart-vbs32 'C:\windows\syswow64\cscript.exe' //nologo "$folder\\examples\\quickstart.vbs"
    check "examples\\quickstart.vbs runs in the 32-bit host" \
        bash -c "[ $code -eq 0 ] && grep -qF 'INI value: blue' '$log'"
else
    skip "examples\\quickstart.vbs in the 32-bit host" "this machine's kernel runs no 32-bit programs"
fi
# The three-line script of README.txt, as a user copies it.
sed -n '/^A three-line script/,/^When a script/p' "$folder_unix/README.txt" | tr -d '\r' |
    sed -n 's/^    //p' >"$folder_unix/hello.vbs"
run hello cscript //nologo "$folder\\hello.vbs"
rm -f "$folder_unix/hello.vbs"
check "README.txt's three-line script runs" \
    bash -c "[ $code -eq 0 ] && grep -qE ' on Windows [0-9]+\.[0-9]+ build [0-9]+\$' '$log'"
# The version in VERSION is the one both DLLs carry.
cat >"$folder_unix/version.vbs" <<'EOF'
Set ops = CreateObject("Kovar3.Ops")
Set fso = CreateObject("Scripting.FileSystemObject")
here = fso.GetParentFolderName(WScript.ScriptFullName)
WScript.Echo "x64 " & ops.GetPEFile(here & "\x64\kovar3.dll").FileVersion
WScript.Echo "x86 " & ops.GetPEFile(here & "\x86\kovar3.dll").FileVersion
EOF
run version cscript //nologo "$folder\\version.vbs"
rm -f "$folder_unix/version.vbs"
check "both DLLs carry the version $version" \
    bash -c "grep -qx 'x64 $version.0' '$log' && grep -qx 'x86 $version.0' '$log'"
run uninstall-machine cmd /c uninstall.cmd /machine
check "uninstall.cmd /machine unregisters the 64-bit build" \
    has "64-bit build: unregistered for every user of this computer"

# --- Only the 32-bit build registered, read from the 64-bit host ---------------------------
if can_run_32bit; then
    "$WINE64" 'C:\windows\syswow64\regsvr32.exe' /s "$folder\\x86\\kovar3.dll"
else
    # What the 32-bit build's registration gives its view, written through that view.
    for key in "CLSID\\{D7C8D239-DB21-4A64-978F-207C9E8C01B6}\\InprocServer32" \
        "CLSID\\{72C8F742-2597-4A02-95CE-5ECCE06993F8}\\InprocServer32"; do
        "$WINE64" reg add "HKLM\\Software\\Classes\\$key" /ve /d "$folder\\x86\\kovar3.dll" /f /reg:32 >/dev/null
    done
fi
run check-32-only cscript //nologo "$folder\\check.vbs"
check "check.vbs in the 64-bit host: registered for 32-bit hosts only, what to run" \
    bash -c "[ $code -eq 1 ] && grep -qF 'registered for 32-bit hosts only, and this is the 64-bit host' '$log' &&
             grep -qiF 'syswow64\\cscript.exe' '$log' && grep -qF '\"$folder\\install.cmd\"' '$log'"
if can_run_32bit; then
    "$WINE64" 'C:\windows\syswow64\regsvr32.exe' /s /u "$folder\\x86\\kovar3.dll"
else
    for clsid in '{D7C8D239-DB21-4A64-978F-207C9E8C01B6}' '{72C8F742-2597-4A02-95CE-5ECCE06993F8}'; do
        "$WINE64" reg delete "HKLM\\Software\\Classes\\CLSID\\$clsid" /f /reg:32 >/dev/null
    done
fi

snapshot after-machine
log=$work/after-machine.keys
check "after every uninstall nothing of Kovar3 is left in either hive" \
    bash -c "[ ! -s '$work/after-machine.system.kovar3' ] && [ ! -s '$work/after-machine.user.kovar3' ]"
check "after every uninstall the user's class keys are as before" cmp -s "$work/before.keys" "$work/after-machine.keys"
diff "$work/before.keys" "$work/after-machine.keys" | head -5
"$KOVAR3_ROOT/scripts/wine-wait.sh"
echo done
