#!/usr/bin/env bash
# The run command: installs what is missing, builds the player and plays the demo
# film (a self-playing copy of the player) under Wine. On a desktop ($DISPLAY set)
# it opens there; without one it plays on a private X display, leaves a
# screenshot from the middle of the film in build/demo.png and closes the player
# once the film has played.
#   run.sh [player arguments...]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

bash scripts/setup.sh
bash scripts/build.sh native zefilm
bash scripts/build.sh win vaRorivi demo
demo=$repo/build/win/demo/vaRorivi-demo.exe

if [ -n "${DISPLAY:-}" ]; then
  VARORIVI_USE_DISPLAY=1 exec scripts/wine-run.sh --timeout 86400 "$demo" "$@"
fi
# Two segments of 40 frames at 10 frames a second: 8 seconds in all.
scripts/wine-run.sh --timeout 120 bash scripts/demo-shot.sh "$repo/build/demo.png" 5 12 "$demo" "$@"
echo "screenshot: build/demo.png"
