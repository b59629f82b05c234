#!/usr/bin/env bash
# Lays out what goes onto the device in one folder, as the device's file system (`cmake --install`
# of a build into an empty folder), and checks the layout: the program, the language files, the
# theme, the layouts and the application catalogue, and nothing that belongs to the developer's
# tools. With --arm the program must be a 32-bit ARM one.
#
#   scripts/stage-device-root.sh BUILD_DIR OUT_DIR [--arm]
set -euo pipefail

if (($# < 2)); then
  echo "usage: $0 BUILD_DIR OUT_DIR [--arm]" >&2
  exit 2
fi
build=$1 out=$2 arm=${3:-}
rm -rf "$out"
cmake --install "$build" --prefix "$out" >/dev/null

status=0
for path in ebrmain/bin/bookshelf.app ebrmain/language/en.txt ebrmain/themes/Contrast/theme.cfg \
            ebrmain/layouts/desktop.json ebrmain/config/desktop/apps_db.json \
            ebrmain/config/desktop/view.json ebrmain/config/desktop/apps/apps.json; do
  [[ -s $out/$path ]] || { echo "$out: $path is missing" >&2; status=1; }
done
unwanted=$(cd "$out" && find . -name '*.md' -o -name '*.py' -o -name 'gallery*' -o -path '*/user/*')
[[ -z $unwanted ]] || { echo "$out: developer files in the device's folder:" $unwanted >&2; status=1; }
if [[ $arm == --arm && -e $out/ebrmain/bin/bookshelf.app ]]; then
  # ELF header: class 1 (32-bit) at byte 4, machine 40 (ARM) at bytes 18-19, little-endian.
  header=$(od -An -tu1 -N20 "$out/ebrmain/bin/bookshelf.app" | tr -s ' \n' ' ')
  read -r -a bytes <<<"$header"
  if [[ ${bytes[4]} != 1 || ${bytes[18]} != 40 || ${bytes[19]} != 0 ]]; then
    echo "$out: ebrmain/bin/bookshelf.app is not a 32-bit ARM program" >&2
    status=1
  fi
fi
((status == 0)) && echo "$out: $(cd "$out" && find . -type f | wc -l) files laid out for the device"
exit "$status"
