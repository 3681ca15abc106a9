# Sourced by the other scripts: a private Wine prefix inside the build tree and helpers to run
# programs in it. Never touches the user's own ~/.wine.
KOVAR3_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$KOVAR3_ROOT/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer prompts
WINE64=/usr/lib/wine/wine64

# The Windows form of a Linux path (Wine maps / to drive Z:).
winpath() { printf 'Z:%s' "$(readlink -f "$1" | tr / '\\')"; }

# True when this machine can run 32-bit programs (Wine's 32-bit side needs the kernel's
# 32-bit emulation, which some virtual machines switch off).
can_run_32bit() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

# Creates the prefix once; with 32-bit support it also has C:\windows\syswow64.
ensure_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        "$WINE64" wineboot --init >/dev/null 2>&1 || true
        "$KOVAR3_ROOT/scripts/wine-wait.sh"
    fi
}

wine64_run() { "$WINE64" "$@"; }

# Registers both DLLs (the 32-bit one only where 32-bit programs can run).
register_dlls() {
    ensure_prefix
    "$WINE64" regsvr32 /s "$(winpath "$KOVAR3_ROOT/build/x64/kovar3.dll")"
    if can_run_32bit; then
        "$WINE64" 'C:\windows\syswow64\regsvr32.exe' /s "$(winpath "$KOVAR3_ROOT/build/x86/kovar3.dll")"
    fi
}

# For benchmarks: a freshly started wineserver with the DLLs registered. Every registry and
# profile call under Wine is a round trip to wineserver, and an old server's state and
# placement weigh on the figures; run the benchmark itself pinned to one core (taskset).
fresh_wineserver() {
    ensure_prefix
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    "$KOVAR3_ROOT/scripts/wine-wait.sh"
    register_dlls
}
