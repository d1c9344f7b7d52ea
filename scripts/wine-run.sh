#!/usr/bin/env bash
# Runs one command on a private X display with a PulseAudio null sink, a Windows
# program (*.exe) through Wine, and ends every process it started when the
# command ends, fails or runs out of time.
#
#   wine-run.sh [--gui] [--timeout SECONDS] [--] COMMAND [ARGS...]
#
#   --gui        run a Windows program inside a 1024x768 Wine virtual desktop
#   --timeout    end the command after SECONDS (default 300); exit code 124
#
# The command sees DISPLAY, PULSE_SERVER, WINEPREFIX and VARORIVI_RUN_DIR (a private
# folder removed afterwards). When DISPLAY is set and VARORIVI_USE_DISPLAY=1, that
# display is used instead of a private Xvfb.
#
# The Wine prefix (VARORIVI_WINEPREFIX, default build/wineprefix in the checkout)
# is made once with wineboot and reused; a persistent wineserver keeps later
# starts fast. Runs at the same time get their own display, sound server and
# desktop name, so they do not see each other's windows.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$here")

gui=0
timeout_s=300
while [ $# -gt 0 ]; do
  case "$1" in
    --gui) gui=1; shift ;;
    --timeout) timeout_s=$2; shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: wine-run.sh [--gui] [--timeout S] [--] COMMAND [ARGS...]" >&2; exit 2; }

export WINEPREFIX=${VARORIVI_WINEPREFIX:-$repo/build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

run_dir=$(mktemp -d "${TMPDIR:-/tmp}/varorivi-run.XXXXXX")
export VARORIVI_RUN_DIR=$run_dir
pids=()   # processes this run started, ended in reverse order

cleanup() {
  local rc=$?
  trap - EXIT INT TERM
  local i
  for ((i=${#pids[@]}-1; i>=0; i--)); do
    # a negative pid names the process group of a command started with setsid
    kill -TERM -- "${pids[i]}" 2>/dev/null || true
  done
  local deadline=$((SECONDS + 5))
  for ((i=${#pids[@]}-1; i>=0; i--)); do
    while kill -0 -- "${pids[i]}" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.05; done
    kill -KILL -- "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$run_dir"
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# When the runner itself is killed outright (ctest's own timeout), a detached
# watchdog still ends what it started.
watch_pids_file=$run_dir/pids
: >"$watch_pids_file"
setsid bash -c '
  while kill -0 '"$$"' 2>/dev/null; do sleep 1; done
  while read -r p; do kill -KILL -- "$p" 2>/dev/null; done <"$1"
  rm -rf "$2"' _ "$watch_pids_file" "$run_dir" </dev/null >/dev/null 2>&1 &
remember() { pids+=("$1"); echo "$1" >>"$watch_pids_file"; }

# --- X display ---------------------------------------------------------------
if [ "${VARORIVI_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
  :
else
  # -displayfd makes Xvfb pick a free display number and tell us which.
  exec 3>"$run_dir/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >"$run_dir/xvfb.log" 2>&1 &
  remember $!
  exec 3>&-
  for _ in $(seq 1 100); do [ -s "$run_dir/display" ] && break; sleep 0.05; done
  [ -s "$run_dir/display" ] || { echo "wine-run: Xvfb did not start" >&2; cat "$run_dir/xvfb.log" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$run_dir/display")"
fi

# --- sound -------------------------------------------------------------------
export PULSE_RUNTIME_PATH=$run_dir/pulse
export PULSE_STATE_PATH=$run_dir/pulse
export PULSE_SERVER="unix:$run_dir/pulse/native"
mkdir -p "$run_dir/pulse"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --system=no \
  --load="module-null-sink sink_name=nul" \
  --load="module-native-protocol-unix socket=$run_dir/pulse/native auth-anonymous=1" \
  >"$run_dir/pulse.log" 2>&1 &
remember $!
for _ in $(seq 1 100); do [ -S "$run_dir/pulse/native" ] && break; sleep 0.05; done
[ -S "$run_dir/pulse/native" ] || { echo "wine-run: PulseAudio did not start" >&2; cat "$run_dir/pulse.log" >&2; exit 1; }

# --- Wine prefix and server -------------------------------------------------
is_windows=0
case "$1" in *.exe|*.EXE) is_windows=1 ;; esac
if true; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.varorivi-ready" ]; then
      rm -rf "$WINEPREFIX"
      wineboot -i >"$run_dir/wineboot.log" 2>&1 || { cat "$run_dir/wineboot.log" >&2; exit 1; }
      wineserver -w
      touch "$WINEPREFIX/.varorivi-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
  # The server and Wine's own services are shared by every run on this prefix and
  # end by themselves a minute after the last Wine process. They are started here,
  # detached and without a display: started by the command, they would inherit its
  # output and keep whoever reads it (ctest) waiting for that minute.
  wineserver -p60 </dev/null >/dev/null 2>&1 || true
  DISPLAY= setsid wine cmd /c exit </dev/null >/dev/null 2>&1 || true
fi

# --- the command -------------------------------------------------------------
winpath() { case "$1" in /*) [ -e "$1" ] || { echo "$1"; return; }; local p=${1//\//\\}; echo "Z:$p" ;; *) echo "$1" ;; esac; }
cmd=("$@")
if [ "$is_windows" = 1 ]; then
  if [ "$gui" = 1 ]; then
    # explorer answers 0 whatever the program does, so cmd writes the program's
    # exit code to a file (delayed expansion: read after the program has ended).
    # Arguments must not hold cmd's special characters (& | < > ^ %).
    line=""
    for a in "$@"; do
      a=$(winpath "$a")
      case "$a" in *" "*) a="\"$a\"" ;; esac
      line+="$a "
    done
    cmd=(wine explorer "/desktop=vr$$,1024x768" cmd /v:on /c "$line& echo !errorlevel!>$(winpath "$run_dir/rc")")
  else
    cmd=(wine "$@")
  fi
fi

# Its own process group, so that everything Wine forks for it can be ended.
setsid "${cmd[@]}" &
cmd_pid=$!
remember "-$cmd_pid"

rc=0
deadline=$((SECONDS + timeout_s))
while kill -0 "$cmd_pid" 2>/dev/null; do
  if [ $SECONDS -ge $deadline ]; then
    echo "wine-run: timed out after ${timeout_s}s: $*" >&2
    rc=124
    break
  fi
  sleep 0.05
done
if [ $rc = 0 ]; then
  wait "$cmd_pid" || rc=$?
  if [ "$is_windows" = 1 ] && [ "$gui" = 1 ]; then
    rc=$(tr -dc '0-9-' <"$run_dir/rc" 2>/dev/null || true)
    [ -n "$rc" ] || { echo "wine-run: the program left no exit code" >&2; rc=1; }
  fi
fi
exit $rc
