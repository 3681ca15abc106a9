#!/usr/bin/env bash
# Sets everything up and runs every test: installs what is missing, builds both
# architectures, registers the DLLs in a private Wine prefix, then runs
#   - the googletest executable (unit and COM-level tests) under Xvfb,
#   - the same executable once more as a program that Wine reports as Windows 98, and once
#     as one it reports as Windows NT 4,
#   - the .vbs and .js scripts in tests/scripts through the real cscript host
#     (64-bit host with the 64-bit DLL; 32-bit host with the 32-bit DLL where 32-bit
#     programs can run).
# Ends with one line "tests: N passed, M failed".
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh >/dev/null || { echo "build failed"; exit 1; }
source scripts/wine-env.sh
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
    xvfb-run -a "$WINE64" "$exe" --gtest_color=no "$@" >"$log" 2>&1
    local rc=$?
    count_gtest "$log"
    grep -E '^\[  (FAILED|PASSED)  \]|Failure$|error:' "$log" | grep -v '^\[  PASSED' | head -40
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

# The same tests as a program that Wine reports as Windows 98 (platform 1): the family flag,
# and everything that reads it, take the 95/98/ME road.
cp build/x64/kovar3_tests.exe build/x64/kovar3_tests_win98.exe
"$WINE64" reg add 'HKCU\Software\Wine\AppDefaults\kovar3_tests_win98.exe' /v Version /d win98 /f >/dev/null
KOVAR3_EXPECT_PLATFORM=1 run_gtest win98 build/x64/kovar3_tests_win98.exe --gtest_filter='*Family*'

# And as a program that Wine reports as Windows NT 4 (platform 2, major version 4), which has no
# process snapshot functions.
cp build/x64/kovar3_tests.exe build/x64/kovar3_tests_nt40.exe
"$WINE64" reg add 'HKCU\Software\Wine\AppDefaults\kovar3_tests_nt40.exe' /v Version /d nt40 /f >/dev/null
KOVAR3_EXPECT_MAJOR=4 run_gtest nt40 build/x64/kovar3_tests_nt40.exe --gtest_filter='*Family*'

# Script tests: each prints "ok <case>" or "not ok <case>: detail" lines and ends with "done".
run_scripts() {  # label, cscript path
    local label=$1 host=$2 script log rc
    for script in tests/scripts/*.vbs tests/scripts/*.js; do
        [ -f "$script" ] || continue
        log="$log_dir/$label-$(basename "$script").log"
        fresh_display_server
        xvfb-run -a "$WINE64" "$host" //nologo "$(winpath "$script")" 2>&1 | tr -d '\r' >"$log"
        rc=${PIPESTATUS[0]}
        passed=$((passed + $(grep -c '^ok ' "$log")))
        local bad
        bad=$(grep -c '^not ok ' "$log")
        failed=$((failed + bad))
        grep '^not ok ' "$log" | sed "s|^|$label $(basename "$script"): |"
        if [ $rc -ne 0 ] || ! grep -q '^done$' "$log"; then
            echo "$label $(basename "$script"): stopped early (exit $rc; a VBScript error prints nothing)"
            tail -5 "$log"
            failed=$((failed + 1))
        fi
    done
    echo "$label scripts: done"
}
run_scripts script64 cscript
if can_run_32bit; then
    run_scripts script32 'C:\windows\syswow64\cscript.exe'
else
    echo "script32: skipped, this machine's kernel runs no 32-bit programs (the 32-bit DLL is still built and checked from the 64-bit tests)"
fi

"$KOVAR3_ROOT/scripts/wine-wait.sh"
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
