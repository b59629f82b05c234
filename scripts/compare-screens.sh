#!/usr/bin/env bash
# Shows the home screen of one sample device with two builds of the program, the build machine's
# and the device's (armhf, run through an emulator), and compares what they drew: the screen's
# pixels and the windows (classes, names, rectangles, texts). Both runs start from copies of the
# same device folder, made by the build machine's generator, so any difference comes from the
# program itself: sizes, alignment, time and signedness faults of a 32-bit build show up here.
# The device's program runs as installed (scripts/stage-device-root.sh): from the staged folder,
# with the staged language files, theme, layouts and catalogue in place of the generator's copies,
# so the staged folder is shown to hold all the program needs.
#
#   scripts/compare-screens.sh --host-bin DIR --device-root DIR --profile NAME --out DIR
#                              [--max-pixels N] -- EMULATOR [ARGS...]
#
# Writes host.png, device.png, diff.png and both windows lists into --out, prints the number of
# pixels that differ and the largest difference of one colour channel (0-255), and fails when more
# than --max-pixels pixels (default 0) differ or the windows differ.
set -euo pipefail

host_bin= device_root= profile= out= max_pixels=0
while (($#)); do
  case "$1" in
    --host-bin) host_bin=$2; shift 2 ;;
    --device-root) device_root=$2; shift 2 ;;
    --profile) profile=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --max-pixels) max_pixels=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "usage: $0 --host-bin DIR --device-root DIR --profile NAME --out DIR [--max-pixels N] -- EMULATOR..." >&2
       exit 2 ;;
  esac
done
emulator=("$@")
if [[ -z $host_bin || -z $device_root || -z $profile || -z $out || ${#emulator[@]} == 0 ]]; then
  echo "$0: --host-bin, --device-root, --profile, --out and the emulator are needed" >&2
  exit 2
fi
for program in "$host_bin/make-sample-device" "$host_bin/bookshelf.app" "$device_root/ebrmain/bin/bookshelf.app"; do
  if [[ ! -x $program ]]; then
    echo "$0: $program is not built (the comparison needs the build machine's build too:" >&2
    echo "    cmake --build --preset default --target bookshelf.app make-sample-device)" >&2
    exit 1
  fi
done

rm -rf "$out"
mkdir -p "$out"
out=$(cd "$out" && pwd)
"$host_bin/make-sample-device" --root "$out/device" --profile "$profile" --force >"$out/make-sample-device.log" 2>&1 ||
  { cat "$out/make-sample-device.log" >&2; exit 1; }

# The screen as it stands once the start-up has settled: every query, cover and timer done.
show() {
  local name=$1; shift
  cp -a "$out/device" "$out/$name-root"
  if [[ $name == device ]]; then
    rm -rf "$out/$name-root/ebrmain/"{language,themes,layouts,config/desktop,bin/bookshelf.app}
    cp -a "$device_root/ebrmain/." "$out/$name-root/ebrmain/"
  fi
  printf 'idle\nwindows %s\nscreenshot %s\nquit\n' "$out/$name-windows.json" "$out/$name.png" >"$out/script.txt"
  if ! MARROWLEAF_ROOT="$out/$name-root" MARROWLEAF_DISPLAY=headless MARROWLEAF_SCRIPT="$out/script.txt" \
       "$@" >"$out/$name.log" 2>&1; then
    echo "$profile: the $name build's program failed:" >&2
    cat "$out/$name.log" >&2
    exit 1
  fi
}
show host "$host_bin/bookshelf.app"
show device "${emulator[@]}" "$out/device-root/ebrmain/bin/bookshelf.app"

# Two empty screens would match too: the home screen must be there.
if ! grep -q '"class":"MainView"' "$out/host-windows.json"; then
  echo "$profile: the build machine's program showed no home screen (see $out/host.log)" >&2
  exit 1
fi
status=0
# compare prints its measure on standard error and exits 1 when the pictures differ.
pixels=$(compare -metric AE "$out/host.png" "$out/device.png" "$out/diff.png" 2>&1 >/dev/null) || true
peak=$(compare -metric PAE "$out/host.png" "$out/device.png" null: 2>&1 >/dev/null) || true
if [[ ! $pixels =~ ^[0-9]+$ ]]; then
  echo "$profile: the screens cannot be compared: $pixels" >&2
  exit 1
fi
# PAE reads "65535 (1)" on ImageMagick's 16-bit scale; report it on the screen's 8-bit one.
peak=$(( ${peak%% *} / 257 ))
size=$(identify -format '%wx%h' "$out/host.png")
echo "$profile: $pixels of $size pixels differ between the build machine's and the device's program (largest channel difference $peak of 255)"
if ((pixels > max_pixels)); then
  echo "$profile: more than $max_pixels pixels differ; see $out/diff.png" >&2
  status=1
fi
# One window a line, so that a difference names the window.
one_a_line() { sed 's/},{/},\n{/g' "$1"; }
if ! diff -u <(one_a_line "$out/host-windows.json") <(one_a_line "$out/device-windows.json") >"$out/windows.diff"; then
  echo "$profile: the windows differ:" >&2
  head -40 "$out/windows.diff" >&2
  status=1
fi
exit "$status"
