# Sourced by scripts/windows_test.sh and scripts/screenshot_windows.sh: a
# fresh Wine prefix under a Japanese locale, on a virtual X display of its
# own, with Japanese fonts for the Windows UI fonts. Removed again on exit.

# shellcheck source=scripts/common.sh
source scripts/common.sh
scripts/install_packages.sh mingw-w64 icoutils wine64 wine locales xvfb xauth fonts-ipafont-gothic gettext

# Wine's ANSI code page follows the locale: 932 under a Japanese one, so that
# the tests also meet the system in the code page Vantor's users have.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi
export LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8

# The window draws on a virtual X display at 96 DPI.
display=99
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

# A fresh Wine prefix, before the build: test discovery already runs Wine.
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/k2v-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
wineboot -i >/dev/null 2>&1
# Japanese text: the UI fonts of a Japanese Windows (the window asks for
# Meiryo UI, Yu Gothic UI or MS UI Gothic; message boxes take the system's)
# are drawn with the IPA fonts. Without a window manager Wine draws the
# windows' frames and title bars itself.
for face in "MS UI Gothic" "MS PGothic" "Meiryo UI" "Yu Gothic UI"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
done
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "MS Gothic" /t REG_SZ /d IPAGothic /f >/dev/null 2>&1
# NSIS's Japanese pages ask for the faces under their Japanese names.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "ＭＳ Ｐゴシック" /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "ＭＳ ゴシック" /t REG_SZ /d IPAGothic /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
# One server for every program, instead of one start per program, once the
# one that wineboot started has ended.
wineserver -w
wineserver -p
# The first program starts Wine's services, which would keep the output pipe
# of whatever runs first (CTest's test listing) open: start them here.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
