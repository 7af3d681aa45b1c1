# Sourced by the trials that drive the real program under Xvfb:
#   source x_trial.sh BUILD_DIR [--trial ... WORK]
# sets `build`, ends with 77 (skipped) where Xvfb or xdotool is missing, and
# for the outer run (not --trial) makes `work`, a folder removed at the end
# that holds the program, its guardian, its link module and its data.
# `in_trial` says which run this is; the last argument of a --trial run is
# the outer run's `work`.
set -euo pipefail

build=$(cd "$1" && pwd)
for tool in xvfb-run Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

in_trial=false
if [ "${2:-}" = "--trial" ]; then
  in_trial=true
  work=${*: -1}
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cp "$build/varnolix" "$build/varnolix-k8055-guard" "$build/libvarnolix_dcc_link.so" "$work/"
  cp -r "$build/data" "$build/demo" "$work/"
fi
