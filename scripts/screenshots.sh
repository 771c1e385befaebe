#!/usr/bin/env bash
# Screenshots of the status panel and of each dialog under Wine, as PNG files in
# build/win64/screenshots/. Builds the x86_64 Windows preset first when needed.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target disk_module panel_preview
source scripts/wine-env.sh
out=build/win64/screenshots
mkdir -p "$out"

display=$(bash scripts/free-display.sh)
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display"
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
/usr/lib/wine/wineserver -k 2>/dev/null || true
sleep 1
# The dialogs' Japanese fonts, as the proportional IPA Gothic a Japanese Windows would come close to.
for font in "ＭＳ Ｐゴシック" "MS UI Gothic"; do
  /usr/lib/wine/wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v "$font" /d "IPAPGothic" /f >/dev/null 2>&1 || true
done
/usr/lib/wine/wineserver -w 2>/dev/null || true

# The root window shows Wine's popups black: each window of the desktop is read on its own and
# laid over the desktop, bottom-most first.
shoot() {
  local png=$1 tree
  tree=$(xwininfo -root -tree -display ":$display")
  xwd -root -silent -display ":$display" | /usr/bin/convert xwd:- "$png"
  echo "$tree" | awk '/panel_preview.exe/ && $2 != "(has" && $0 !~ /Default IME/ {
      split($NF, at, "+"); print $1, at[2], at[3] }' | tac | while read -r id x y; do
    xwd -id "$id" -silent -display ":$display" | /usr/bin/convert "$png" xwd:- -geometry "+$x+$y" \
      -composite "$png"
  done
  /usr/bin/convert "$png" -crop 800x600+0+0 +repage "$png"
}

cd build/win64/bin
for mode in panel image-setting new-fd new-hd disk-setting; do
  /usr/lib/wine/wine64 explorer /desktop=preview,800x600 panel_preview.exe "$mode" >/dev/null 2>&1 &
  wine=$!
  sleep "${SHOT_DELAY:-4}"
  shoot "../screenshots/$mode.png"
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  wait "$wine" 2>/dev/null || true
  echo "$out/$mode.png"
done
