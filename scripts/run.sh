#!/usr/bin/env bash
# Builds the project and runs the home screen in the simulator on the sample device.
#
#   scripts/run.sh [--profile NAME] [--books N] [--first-boot]
#
# The sample device lives in build/sample-device and is made on the first run; arguments are passed
# to make-sample-device, and given again they make the device anew (make-sample-device --force).
# With $DISPLAY set the screen is shown in a window (MARROWLEAF_DISPLAY=sdl), otherwise the run is
# headless and the screen is written to build/sample-device/.sim/screen.png. In a window, the
# programs the home screen starts (a reader, the library, ...) stay in front for 3 seconds
# (MARROWLEAF_STANDIN_MS) before the home screen comes back. MARROWLEAF_SCRIPT,
# MARROWLEAF_LOG_LEVEL, MARROWLEAF_STANDIN_MS and an explicit MARROWLEAF_DISPLAY are honoured.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

root="$PWD/build/sample-device"
if [[ ! -f "$root/.sim/device.cfg" ]]; then
  build/bin/make-sample-device --root "$root" "$@"
elif (($#)); then
  echo "Making the sample device anew: $*"
  build/bin/make-sample-device --root "$root" --force "$@"
fi

export MARROWLEAF_ROOT="$root"
if [[ -z ${MARROWLEAF_DISPLAY:-} ]]; then
  if [[ -n ${DISPLAY:-} ]]; then
    export MARROWLEAF_DISPLAY=sdl
  else
    export MARROWLEAF_DISPLAY=headless
  fi
fi
if [[ $MARROWLEAF_DISPLAY == sdl ]]; then
  export MARROWLEAF_STANDIN_MS=${MARROWLEAF_STANDIN_MS:-3000}
fi

# Some first-run steps end the program with status 1 and rely on the device's task manager to start
# it again; do the same, a few times at most.
status=0
for attempt in 1 2 3 4 5 6; do
  status=0
  build/bin/bookshelf.app || status=$?
  [[ $status == 1 && $attempt -lt 6 ]] || break
  echo "bookshelf.app exited with status 1 (a first-run step); starting it again"
done

echo "Journal: $root/.sim/journal.jsonl"
if [[ $MARROWLEAF_DISPLAY == headless && -f $root/.sim/screen.png ]]; then
  echo "Screen:  $root/.sim/screen.png"
fi
exit "$status"
