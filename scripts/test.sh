#!/usr/bin/env bash
# Sets everything up and runs every test: installs what is missing, builds both
# architectures, registers the DLLs in a private Wine prefix, then runs
#   - the googletest executable (unit and COM-level tests) under Xvfb,
#   - the same executable once more as a program that Wine reports as Windows 98, and once
#     as one it reports as Windows NT 4,
#   - its code-page tests once more in the Japanese locale (code page 932),
#   - the .vbs and .js scripts in tests/scripts through the real cscript host
#     (64-bit host with the 64-bit DLL; 32-bit host with the 32-bit DLL where 32-bit
#     programs can run), and again in each host after the other build was unregistered,
#   - ExitWin logging off for real in a throwaway prefix (tests/system/exit_session.sh),
#   - the release archive's end-to-end test (tests/package/archive_test.sh).
# Ends with one line "tests: N passed, M failed".
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh >/dev/null || { echo "build failed"; exit 1; }
source scripts/wine-env.sh
# The test machines have no sound device: without Wine's ALSA driver PlayWav's tests meet the
# same "no device" answer, minus the driver's complaints on stderr.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winealsa.drv=d"
register_dlls

passed=0
failed=0
log_dir=build/test-logs
mkdir -p "$log_dir"

# Counts a googletest run from its summary lines.
count_gtest() {
    local log=$1 ok bad
    ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$log" | tail -1)
    bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below.*/\1/p' "$log" | tail -1)
    passed=$((passed + ${ok:-0}))
    failed=$((failed + ${bad:-0}))
}

# Every program below gets a display of its own (xvfb-run) and a wineserver started under that
# display: the server's desktop process keeps the display it first saw, so a server left from an
# earlier display, or started without one (by regsvr32), could make no more windows.
fresh_display_server() { "$KOVAR3_ROOT/scripts/wine-wait.sh"; }

run_gtest() {  # name, exe, extra args...
    local name=$1 exe=$2; shift 2
    local log="$log_dir/$name.log"
    fresh_display_server
    local display=(xvfb-run -a)
    [ "${KOVAR3_NO_DISPLAY:-}" = 1 ] && display=(env -u DISPLAY)
    "${display[@]}" "$WINE64" "$exe" --gtest_color=no "$@" >"$log" 2>&1
    local rc=$?
    count_gtest "$log"
    grep -E '^\[  (FAILED|PASSED)  \]|Failure$|error:' "$log" | grep -v '^\[  PASSED' | head -40
    # A skipped test says why on the line after "Skipped"; its name follows on "[  SKIPPED ]".
    tr -d '\r' <"$log" | awk '/: Skipped$/ { getline why; next_why = why }
        /^\[  SKIPPED \] [^0-9]/ && next_why != "" { print "skipped " $4 ": " next_why; next_why = "" }'
    if [ $rc -ne 0 ] && ! grep -q '^\[  FAILED  \]' "$log"; then
        echo "$name: exited with $rc"; tail -20 "$log"; failed=$((failed + 1))
    fi
    echo "$name: $(grep -E '^\[  PASSED  \]' "$log" | tail -1)"
}

# The tree keeps one formatting standard (.clang-format); a file that strays fails here.
unformatted=$(find src tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run 2>&1 | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: .*clang-format-violations.*/\1/p' | sort -u)
if [ -z "$unformatted" ]; then
    passed=$((passed + 1)); echo "format: ok"
else
    failed=$((failed + 1)); echo "format: not as .clang-format says (clang-format -i):"; echo "$unformatted"
fi

run_gtest unit build/x64/kovar3_tests.exe

# The version-dependent tests once more, as programs that Wine reports as other versions. They
# are the test suites named Family...; a test that reads the expected version from a suite of
# another name fails (tests/support/expected_platform.h), and a run that selects none fails.
some_ran() {  # label
    grep -q '^\[==========\] [1-9][0-9]* tests\? from' "$log_dir/$1.log" ||
        { echo "$1: no Family test ran"; failed=$((failed + 1)); }
}
# Windows 98 (platform 1): the family flag, and everything that reads it, take the 95/98/ME road.
cp build/x64/kovar3_tests.exe build/x64/kovar3_tests_win98.exe
"$WINE64" reg add 'HKCU\Software\Wine\AppDefaults\kovar3_tests_win98.exe' /v Version /d win98 /f >/dev/null
KOVAR3_EXPECT_PLATFORM=1 run_gtest win98 build/x64/kovar3_tests_win98.exe --gtest_filter='Family*'
some_ran win98
# Windows NT 4 (platform 2, major version 4), which has no process snapshot functions.
cp build/x64/kovar3_tests.exe build/x64/kovar3_tests_nt40.exe
"$WINE64" reg add 'HKCU\Software\Wine\AppDefaults\kovar3_tests_nt40.exe' /v Version /d nt40 /f >/dev/null
KOVAR3_EXPECT_MAJOR=4 run_gtest nt40 build/x64/kovar3_tests_nt40.exe --gtest_filter='Family*'
some_ran nt40

# The code-page tests once more in the Japanese locale: Wine takes the ANSI code page from the
# process's LANG, and ja_JP.UTF-8 gives the double-byte code page 932, where the second byte of
# a character may be the byte of "\".
LANG=ja_JP.UTF-8 KOVAR3_EXPECT_CODEPAGE=932 run_gtest cp932 build/x64/kovar3_tests.exe \
    --gtest_filter='DoubleByteCodePage.*:CodePageBoundary.*:ToAnsi.*:DialogRequests.*'

# Once more with no display at all: the dialogue members answer at once, as cancelled.
KOVAR3_NO_DISPLAY=1 run_gtest no-display build/x64/kovar3_tests.exe --gtest_filter='*WithoutDisplay*'

# Script tests: each prints "ok <case>" or "not ok <case>: detail" lines and ends with "done".
run_scripts() {  # label, cscript path
    local label=$1 host=$2 script log rc
    for script in tests/scripts/*.vbs tests/scripts/*.js; do
        [ -f "$script" ] || continue
        log="$log_dir/$label-$(basename "$script").log"
        fresh_display_server
        xvfb-run -a "$WINE64" "$host" //nologo "$(winpath "$script")" 2>&1 | tr -d '\r' >"$log"
        count_lines "$label $(basename "$script")" "$log" "${PIPESTATUS[0]}"
    done
    echo "$label scripts: done"
}
count_lines() {  # label, log, exit code: counts the "ok" and "not ok" lines of a test's log
    local label=$1 log=$2 rc=$3 bad
    passed=$((passed + $(grep -c '^ok ' "$log")))
    bad=$(grep -c '^not ok ' "$log")
    failed=$((failed + bad))
    grep '^not ok ' "$log" | sed "s|^|$label: |"
    if [ "$rc" -ne 0 ] || ! grep -q '^done$' "$log"; then
        echo "$label: stopped early (exit $rc; a VBScript error prints nothing)"
        tail -5 "$log"
        failed=$((failed + 1))
    fi
}
run_scripts script64 cscript
if can_run_32bit; then
    run_scripts script32 'C:\windows\syswow64\cscript.exe'
fi

# One build unregistered, the other still registered: each host keeps creating and calling
# objects of its own build. Unregistering twice is no failure.
expect_exit_0() {  # name, command...
    local name=$1; shift
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "not ok $name: exit $?"; fi
}
dll64=$(winpath build/x64/kovar3.dll)
dll32=$(winpath build/x86/kovar3.dll)
expect_exit_0 "regsvr32 /u 64-bit" "$WINE64" regsvr32 /s /u "$dll64"
expect_exit_0 "regsvr32 /u 64-bit again" "$WINE64" regsvr32 /s /u "$dll64"
if can_run_32bit; then
    run_scripts script32-without-64 'C:\windows\syswow64\cscript.exe'
    expect_exit_0 "regsvr32 64-bit" "$WINE64" regsvr32 /s "$dll64"
    expect_exit_0 "regsvr32 /u 32-bit" "$WINE64" 'C:\windows\syswow64\regsvr32.exe' /s /u "$dll32"
    expect_exit_0 "regsvr32 /u 32-bit again" "$WINE64" 'C:\windows\syswow64\regsvr32.exe' /s /u "$dll32"
    run_scripts script64-without-32 cscript
else
    echo "script32: skipped, this machine's kernel runs no 32-bit programs (the 32-bit DLL is still built and checked from the 64-bit tests)"
fi
register_dlls

# ExitWin logging off for real, in a throwaway prefix of its own; the test prefix survives it.
session_log="$log_dir/exit-session.log"
fresh_display_server
xvfb-run -a bash tests/system/exit_session.sh 2>&1 | tr -d '\r' >"$session_log"
count_lines "exit session" "$session_log" 0
echo "exit session: done"

"$KOVAR3_ROOT/scripts/wine-wait.sh"

# The release archive from scripts/package.sh, unpacked, installed, used and uninstalled in a
# fresh prefix of its own (build/archive-prefix).
bash tests/package/archive_test.sh >"$log_dir/archive.log" 2>&1
count_lines archive "$log_dir/archive.log" $?
grep '^skip ' "$log_dir/archive.log" | sed 's/^/archive: /'
echo "archive: done"

echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
