#!/usr/bin/env bash
# The real program, ended during a coil pulse in every way a user's machine
# can end it: the board's last state must be every output off, and where the
# program could still run its exit, the window places must be saved. One
# more trial suspends it (Ctrl+Z) during the pulse: its guardian turns every
# output off within 1.5 s, and once continued the program opens the board
# again before it is ended.
#
#   kill_trials.sh BUILD_DIR          (exit 77: skipped, no Xvfb or xdotool)
#
# A pulse needs a click from outside the program, so it runs under Xvfb and
# xdotool clicks coil button 3. Every wait below waits for an event, with a
# generous limit; none decides anything by time.
source "$(dirname "$0")/x_trial.sh"
if ! $in_trial; then
  printf '"DC"\r\n' >"$work/data/text/version.txt"
  printf '"Millbrook Junction"\r\n' >"$work/data/text/layout.txt"
fi

# wait_for FILE TEXT: until FILE holds TEXT, at most 30 s.
wait_for() {
  for _ in $(seq 600); do
    grep -qF -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.05
  done
  echo "gave up waiting for \"$2\" in $1:"; cat "$1"; return 1
}

# Ctrl+Z as a terminal sends it: SIGTSTP to the program's process group.
# Every output must go off while it stands still; after SIGCONT the board is
# opened again (a second "card 0 opened"). Then the program is ended.
suspend_and_continue() {
  local pid=$1 log=$2 started
  started=$(date +%s%N)
  kill -TSTP -- -"$pid"
  if ! wait_for "$log" "no word from Varnolix"; then
    kill -KILL -- -"$pid"; kill -CONT -- -"$pid"
    return 1
  fi
  # Beside the log: the program's own writes would overwrite a line added to it.
  echo "$(( ($(date +%s%N) - started) / 1000000 ))" >"$log.off-ms"
  kill -CONT -- -"$pid"
  for _ in $(seq 600); do
    [ "$(grep -c 'card 0 opened' "$log")" -ge 2 ] && break
    sleep 0.05
  done
  kill -TERM "$pid"
}

# One trial inside its own X server: start, answer the layout question,
# click coil 3, and end the program as soon as the coil is selected.
trial() {
  local how=$1 log=$work/$1.log
  cd "$work"
  rm -f data/text/coord.txt
  # A process group of its own, as a terminal's job has (the shell's own
  # job control would meddle with a stopped job).
  VARNOLIX_SIMULATED_BOARD=1 QT_QPA_PLATFORM=xcb perl -e 'setpgrp(0, 0); exec @ARGV or die "exec: $!"' ./varnolix \
    >"$log" 2>&1 &
  local pid=$!
  local question window
  question=$(timeout 30 xdotool search --sync --onlyvisible --name '^Display your layout')
  xdotool windowfocus --sync "$question" key Return
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^DC solenoid control')
  wait_for "$log" "card 0 opened"
  until xdotool search --onlyvisible --name 'in Varnolix DC' >/dev/null; do sleep 0.05; done
  # Coil button 3: left 940 twips, top 0, 450 x 300 twips: its middle.
  xdotool mousemove --window "$window" 78 10 click 1
  wait_for "$log" "coil 3 select"
  case $how in
    kill-9) kill -KILL "$pid" ;;
    display-lost) kill -TERM "$(tr -d ' ' <"/tmp/.X${DISPLAY#:}-lock")" ;;
    ctrl-z) suspend_and_continue "$pid" "$log" ;;
    *) kill -"$how" "$pid" ;;
  esac
  wait "$pid" || true
  wait_for "$log" "Varnolix has gone: every output off"
}

if [ "${2:-}" = "--trial" ]; then
  trial "$3"
  exit 0
fi

# The suspended program's outputs went off within 1.5 s.
off_in_time() {
  local ms
  ms=$(cat "$1.off-ms" 2>/dev/null || true)
  echo "every output off ${ms:-never} ms after Ctrl+Z"
  [ -n "$ms" ] && [ "$ms" -le 1500 ]
}

failed=0
for how in kill-9 TERM INT HUP QUIT display-lost ctrl-z; do
  log=$work/$how.log
  xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" --trial "$how" "$work" || true
  last_outputs=$(grep -o 'outputs [01]\{8\}' "$log" | tail -n 1 || true)
  saved=no
  [ -s "$work/data/text/coord.txt" ] && saved=yes
  if [ "$last_outputs" != "outputs 00000000" ] || grep -q 'analog [12]: [1-9]' "$log"; then
    echo "FAILED $how: an output was left on"; cat "$log"; failed=1
  elif [ "$how" != kill-9 ] && [ "$saved" != yes ]; then
    echo "FAILED $how: the window places were not saved"; cat "$log"; failed=1
  elif [ "$how" = ctrl-z ] && ! off_in_time "$log" >"$log.said"; then
    echo "FAILED $how: $(cat "$log.said")"; cat "$log"; failed=1
  elif [ "$how" = ctrl-z ] && [ "$(grep -c 'card 0 opened' "$log")" -lt 2 ]; then
    echo "FAILED $how: the board was not opened again after SIGCONT"; cat "$log"; failed=1
  else
    echo "ok $how: every output off, places saved: $saved"
    [ "$how" != ctrl-z ] || echo "   $(cat "$log.said"), the board opened again after SIGCONT"
  fi
done
exit $failed
