#!/usr/bin/env bash
# Starts the window under a virtual X server and saves its picture to
# docs/window.png, then converts the bundled sample through it without a
# Radudi32.ini and saves the two message boxes the run shows: the folder
# question (docs/folder-question.png) and the data that could not be
# converted (docs/result-box.png). Needs xvfb, xauth, imagemagick and a
# Japanese font (fonts-ipafont-gothic), and unshare (util-linux) with user
# namespaces; builds into build/ first when a program is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build}
if [ ! -x "$build/kolbrix2vantor-gui" ] || [ ! -x "$build/gui_message_box_shot" ]; then
  cmake --preset release -B "$build"
  cmake --build "$build" -j"$(nproc)" --target kolbrix2vantor-gui gui_message_box_shot
fi

# The window needs Vantor's RADUDI folder, which the status line then shows,
# and its lists open on the folder it is started in. Both are a neutral
# /home/user/vantor holding a copy of examples/RADUDI and examples/sample, not
# this checkout's path: it is made on a tmpfs over /home in a mount namespace
# of this script's own, which nobody else sees.
out=$(pwd)/docs/window.png
export K2V_SHOT_OUT="$out" K2V_SHOT_APP="$(pwd)/$build/kolbrix2vantor-gui" K2V_SHOT_EXAMPLES="$(pwd)/examples"
# Without a window manager the window has no frame and sits where start-up
# centred it: ((800 - 606) / 2, (600 - 433) / 2).
unshare --map-root-user --mount bash -c '
  set -euo pipefail
  mount -t tmpfs tmpfs /home
  mkdir -p /home/user/vantor
  cp -r "$K2V_SHOT_EXAMPLES/RADUDI" "$K2V_SHOT_EXAMPLES/sample" /home/user/vantor/
  cd /home/user/vantor
  xvfb-run -a -s "-screen 0 800x600x24 -dpi 96" bash -c "
    set -euo pipefail
    \"\$K2V_SHOT_APP\" --radudi /home/user/vantor/RADUDI &
    app=\$!
    sleep 3
    kill -0 \"\$app\"
    import -window root -crop 606x433+97+83 +repage \"\$K2V_SHOT_OUT\"
    kill \"\$app\"
    wait \"\$app\" 2>/dev/null || true
  "
'
test -s "$out"
echo "Saved $out"

# The message boxes: the destination does not exist yet, and /etc holds no
# Radudi32.ini, as on a machine where nobody set one up.
work=$(mktemp -d "${TMPDIR:-/tmp}/k2v-shot.XXXXXX")
trap 'rm -rf "$work"' EXIT
question=$(pwd)/docs/folder-question.png result=$(pwd)/docs/result-box.png
xvfb-run -a -s "-screen 0 800x600x24 -dpi 96" "$build/gui_message_box_shot" "$(pwd)/examples/sample" \
  "$work/GANBAN/K001/S01/B02" "$(pwd)/examples/RADUDI" /etc "$question" "$result"
test -s "$question" && test -s "$result"
echo "Saved $question and $result"
