#!/usr/bin/env bash
# Runs the real program under Xvfb with a window manager, opens a workbook
# with wrong taxes through the file dialog, verifies it, walks the results
# and takes a screenshot of both windows (docs/under-xvfb.png). Needs
# xvfb, openbox, xdotool and imagemagick; the clicks assume the window
# manager centres the main window on a 1280x800 screen.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
work=$(mktemp -d)
cp spreadsheet/xls/tests/fixtures/wrong-taxes.xls "$work/gongzi.xls"
export DISPLAY=:88
Xvfb :88 -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
openbox >/dev/null 2>&1 &
sleep 1
build/default/app/varnex >/dev/null 2>&1 &
app=$!
sleep 2
X=394 Y=220  # the main window's client area
xdotool mousemove $((X + 45)) $((Y + 20)) click 1       # 打开
sleep 2
xdotool type --delay 20 "$work/gongzi.xls"
xdotool key Return
sleep 3
xdotool mousemove $((X + 128)) $((Y + 92)) click 1      # the pay column
sleep 0.5
xdotool type --delay 100 "b"
xdotool mousemove $((X + 128)) $((Y + 124)) click 1     # the tax column
sleep 0.5
xdotool type --delay 100 "c"
xdotool mousemove $((X + 125)) $((Y + 20)) click 1      # 计算
sleep 2
xdotool mousemove $((X + 60)) $((Y + 177)) click 1      # the first result
for _ in 1 2 3; do
  sleep 0.4
  xdotool key Down
done
sleep 1
import -window root docs/under-xvfb.png
kill $app
