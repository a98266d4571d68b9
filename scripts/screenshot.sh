#!/usr/bin/env bash
# Starts the window under a virtual X server and saves its picture to
# docs/window.png. Needs xvfb, xauth, imagemagick and a Japanese font
# (fonts-ipafont-gothic); builds into build/ first when the window is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build}
if [ ! -x "$build/kolbrix2vantor-gui" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j"$(nproc)" --target kolbrix2vantor-gui
fi

# The window needs Vantor's RADUDI folder: the bundled one, named on the
# command line, which the status line then shows. Its lists open on
# examples/, the folder it is started in.
out=$(pwd)/docs/window.png
export K2V_SHOT_OUT="$out" K2V_SHOT_APP="$(pwd)/$build/kolbrix2vantor-gui" K2V_SHOT_HOME="$(pwd)/examples"
# Without a window manager the window has no frame and sits where start-up
# centred it: ((800 - 606) / 2, (600 - 433) / 2).
xvfb-run -a -s "-screen 0 800x600x24 -dpi 96" bash -c '
  set -euo pipefail
  cd "$K2V_SHOT_HOME"
  "$K2V_SHOT_APP" --radudi RADUDI &
  app=$!
  sleep 3
  kill -0 "$app"
  import -window root -crop 606x433+97+83 +repage "$K2V_SHOT_OUT"
  kill "$app"
  wait "$app" 2>/dev/null || true
'
test -s "$out"
echo "Saved $out"
