#!/usr/bin/env bash
# Inside wine-run.sh: starts the player in a virtual desktop, takes a screenshot
# after a while, then closes the player as a user would (Alt+F4).
#   demo-shot.sh SHOT.png SECONDS PLAYER.exe [arguments...]
set -euo pipefail
shot=$1 seconds=$2
shift 2
wine explorer /desktop=demo,1024x768 "$@" &
player=$!
sleep "$seconds"
import -display "$DISPLAY" -window root "$shot"
xdotool key alt+F4
for _ in $(seq 1 100); do kill -0 "$player" 2>/dev/null || exit 0; sleep 0.1; done
echo "demo-shot: the player did not close" >&2
exit 1
