#!/usr/bin/env bash
# The run command: installs what is missing, builds the player and starts it
# under Wine. On a desktop ($DISPLAY set) it opens there; without one it plays on
# a private X display and leaves a screenshot in build/demo.png.
#   run.sh [player arguments...]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

bash scripts/setup.sh
bash scripts/build.sh win vaRorivi
player=$repo/build/win/app/vaRorivi.exe

if [ -n "${DISPLAY:-}" ]; then
  VARORIVI_USE_DISPLAY=1 exec scripts/wine-run.sh --timeout 86400 "$player" "$@"
fi
scripts/wine-run.sh --timeout 120 bash scripts/demo-shot.sh "$repo/build/demo.png" 3 "$player" "$@"
echo "screenshot: build/demo.png"
