#!/usr/bin/env bash
# The coil grid driven from outside, as a user's pointer drives it: the real
# program in "DCC" under Xvfb, its demo box printing every frame. The pointer
# jumps onto accessory button 11 from each of its eight neighbours, and out
# onto the window's background and back, and clicks at once with the left and
# the right button; the reported moves (5 onto 6, 4 down onto 12, a click on
# 1 then out and back onto 1) come too. Every click must switch the button
# under the pointer, on then off, in the order clicked.
#
#   coil_clicks.sh BUILD_DIR          (exit 77: skipped, no Xvfb or xdotool)
#
# The clicks come faster than an accessory's on-pause-off, so most land while
# an earlier one is still pausing. Waits wait for the frames, with a generous
# limit; none decides anything by time.
source "$(dirname "$0")/x_trial.sh"
$in_trial || printf '"DCC"\r\n' >"$work/demo/text/version.txt"
log=$work/program.log

# The accessory frames the demo box heard, one "turnout side on|off" a line.
heard() {
  sed -n 's/.*<- .*side \([LR]\), \(on\|off\) (Lenz turnout \([0-9]*\)).*/\3 \1 \2/p' "$log"
}

# Button n is accessory n: decoder (n + 4) div 4, pair (n + 4) mod 4, which
# a Lenz command station numbers turnout n + 5.
expected=()
expect() { expected+=("$(( $1 + 5 )) $2 on" "$(( $1 + 5 )) $2 off"); }

# The middle of button n, 1-based, eight to a row: 450 x 300 twips at a pitch
# of 460 x 310, 20 twips from the left; 15 twips a pixel.
middle() {
  local i=$(( $1 - 1 ))
  echo $(( ((i % 8) * 460 + 20 + 225) / 15 )) $(( ((i / 8) * 310 + 150) / 15 ))
}

trial() {
  cd "$work"
  QT_QPA_PLATFORM=xcb ./varnolix --demo >"$log" 2>&1 &
  local pid=$!
  local message window
  message=$(timeout 30 xdotool search --sync --onlyvisible --name '^Varnolix DCC$')
  xdotool windowfocus --sync "$message" key Return
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^DCC solenoid control')
  local -a at=()
  point() { read -r -a at < <(middle "$1"); xdotool mousemove --window "$window" "${at[0]}" "${at[1]}"; }
  # Below the last row of 99 buttons, right of button 99.
  background() { xdotool mousemove --window "$window" 200 272; }
  click() { if [ "$1" = L ]; then xdotool click 1; else xdotool click 3; fi; }

  local side from
  for side in L R; do
    # Button 11 has a neighbour on every side: 2 3 4, 10 12, 18 19 20.
    for from in 12 10 19 3 20 18 4 2; do
      point "$from"; point 11; click "$side"; expect 11 "$side"
    done
    point 11; background; point 11; click "$side"; expect 11 "$side"
  done
  point 5; point 6; click L; expect 6 L
  point 4; point 12; click R; expect 12 R
  point 1; click L; expect 1 L; background; point 1; click R; expect 1 R

  for _ in $(seq 600); do
    [ "$(heard | wc -l)" -ge "${#expected[@]}" ] && break
    sleep 0.05
  done
  kill -TERM "$pid"
  wait "$pid" || true
  printf '%s\n' "${expected[@]}" >"$work/expected"
}

if [ "${2:-}" = "--trial" ]; then
  trial
  exit 0
fi

xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" --trial "$work" || true
if [ ! -s "$work/expected" ]; then
  echo "FAILED: the trial did not run to its end"; cat "$log"; exit 1
fi
if ! diff <(heard) "$work/expected" >"$work/diff"; then
  echo "FAILED: the frames heard (<) are not the clicks made (>):"; cat "$work/diff"; exit 1
fi
echo "ok: $(( $(wc -l <"$work/expected") / 2 )) clicks right after a move, each switched the button under the pointer"
