#!/usr/bin/env bash
# Inside wine-run.sh: starts the player in a virtual desktop, takes a screenshot
# after SHOT seconds, lets it run until END seconds, then closes it as a user
# would (Alt+F4).
#   demo-shot.sh SHOT.png SHOT END PLAYER.exe [arguments...]
set -euo pipefail
shot=$1 at=$2 end=$3
shift 3
wine explorer /desktop=demo,1024x768 "$@" &
player=$!
sleep "$at"
import -display "$DISPLAY" -window root "$shot"
sleep $((end - at))
xdotool key alt+F4
for _ in $(seq 1 100); do kill -0 "$player" 2>/dev/null || exit 0; sleep 0.1; done
echo "demo-shot: the player did not close" >&2
exit 1
