#!/usr/bin/env bash
# Runs the INI, PE file and object-creation benchmark: builds, registers the DLL in the
# private prefix, restarts that prefix's wineserver so no earlier run's state weighs on it, and
# runs the program pinned to one core. Arguments (reads, creations, descriptions) go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
source scripts/wine-env.sh
fresh_wineserver
taskset -c 0 "$WINE64" build/x64/kovar3_bench_ini.exe "$@"
