#!/usr/bin/env bash
# Sets everything up and runs the tour: installs what is missing, builds both DLLs,
# registers them in a private Wine prefix and runs examples/tour.vbs through cscript.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh >/dev/null
source scripts/wine-env.sh
register_dlls
xvfb-run -a "$WINE64" cscript //nologo "$(winpath examples/tour.vbs)"
"$KOVAR3_ROOT/scripts/wine-wait.sh"
