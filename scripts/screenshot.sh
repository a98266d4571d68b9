#!/usr/bin/env bash
# Starts the window under a virtual X server and saves its picture to
# docs/window.png; converts the bundled sample through it without a
# Radudi32.ini and saves the two message boxes the run shows: the folder
# question (docs/folder-question.png) and the data that could not be
# converted (docs/result-box.png); then converts a site of 30 borings with
# the batch window (kolbrix2vantor-gui --batch), saves its picture to
# docs/batch-window.png and checks that kolbrix2vantor --batch converts the
# site into the same files, report and list byte for byte. Needs xvfb, xauth,
# imagemagick and a Japanese font (fonts-ipafont-gothic), and unshare
# (util-linux) with user namespaces; builds into build/ first.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build}
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target kolbrix2vantor kolbrix2vantor-gui gui_batch_shot gui_message_box_shot

# The windows need Vantor's RADUDI folder and Radudi32.ini, and the window's
# lists open on the folder it is started in. All of it lies in a neutral
# /home/user, not this checkout's path: a tmpfs over /home in a mount
# namespace of this script's own, which nobody else sees.
export K2V_SHOT_DOCS="$(pwd)/docs" K2V_SHOT_BUILD="$(pwd)/$build" K2V_SHOT_EXAMPLES="$(pwd)/examples"
# Without a window manager the window has no frame and sits where start-up
# centred it: ((800 - 606) / 2, (600 - 433) / 2).
unshare --map-root-user --mount bash -c '
  set -euo pipefail
  mount -t tmpfs tmpfs /home
  mkdir -p /home/user/vantor /home/user/GANBAN/K001
  cp -r "$K2V_SHOT_EXAMPLES/RADUDI" "$K2V_SHOT_EXAMPLES/sample" /home/user/vantor/
  printf "[RADUDI]\r\n/home/user/vantor/RADUDI/\r\n" >/home/user/vantor/Radudi32.ini
  export KOLBRIX2VANTOR_SYSTEM_DIR=/home/user/vantor
  # The site: 30 copies of the sample in two groups; south/B30 cannot be
  # converted, a file stands where its folder goes.
  for i in $(seq -w 1 30); do
    side=north; [ "$i" -gt 15 ] && side=south
    mkdir -p /home/user/site/$side
    cp -r /home/user/vantor/sample /home/user/site/$side/B$i
  done
  reset_destination() {
    rm -rf /home/user/GANBAN/K001/S01
    mkdir -p /home/user/GANBAN/K001/S01/south
    echo "not a folder" >/home/user/GANBAN/K001/S01/south/B30
  }
  cd /home/user/vantor
  reset_destination
  xvfb-run -a -s "-screen 0 800x600x24 -dpi 96" bash -c "
    set -euo pipefail
    \"\$K2V_SHOT_BUILD/kolbrix2vantor-gui\" --radudi /home/user/vantor/RADUDI &
    app=\$!
    sleep 3
    kill -0 \"\$app\"
    import -window root -crop 606x433+97+83 +repage \"\$K2V_SHOT_DOCS/window.png\"
    kill \"\$app\"
    wait \"\$app\" 2>/dev/null || true
    \"\$K2V_SHOT_BUILD/gui_batch_shot\" /home/user/site /home/user/GANBAN/K001/S01 \"\$K2V_SHOT_DOCS/batch-window.png\"
  "
  mv /home/user/GANBAN/K001/S01 /home/user/from-window
  reset_destination
  "$K2V_SHOT_BUILD/kolbrix2vantor" --batch --yes /home/user/site /home/user/GANBAN/K001/S01 >/dev/null 2>&1 || true
  diff -r /home/user/from-window /home/user/GANBAN/K001/S01
  echo "The batch window converted the 30 borings as kolbrix2vantor --batch does, byte for byte."
'
test -s docs/window.png && test -s docs/batch-window.png
echo "Saved docs/window.png and docs/batch-window.png"

# The message boxes: the destination does not exist yet, and /etc holds no
# Radudi32.ini, as on a machine where nobody set one up.
boxes=$(mktemp -d "${TMPDIR:-/tmp}/k2v-shot.XXXXXX")
question=$(pwd)/docs/folder-question.png result=$(pwd)/docs/result-box.png
xvfb-run -a -s "-screen 0 800x600x24 -dpi 96" "$build/gui_message_box_shot" "$(pwd)/examples/sample" \
  "$boxes/GANBAN/K001/S01/B02" "$(pwd)/examples/RADUDI" /etc "$question" "$result"
rm -rf "$boxes"
test -s "$question" && test -s "$result"
echo "Saved $question and $result"
