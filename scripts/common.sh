# shellcheck shell=bash
# Sourced by the scripts and the benchmarks: the snippets they share.

# as_root COMMAND...: runs the command as root: directly when this is root,
# else through sudo.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  else
    sudo "$@"
  fi
}

# apt_get ARGUMENTS...: apt-get as root, asking nothing and reading no
# standard input (CI has none).
apt_get() {
  as_root env DEBIAN_FRONTEND=noninteractive apt-get "$@" </dev/null
}

# write_radudi_ini FOLDER PATTERN_FOLDER [windows]: writes FOLDER/Radudi32.ini,
# which the X6 conversion reads from the system folder; its line 2 names the
# pattern-data folder (with L9.txt and L22.txt), given as a path of this
# machine. With "windows" line 2 names it as the Windows build sees it under
# Wine (Z:\...\).
write_radudi_ini() {
  local line
  if [ "${3:-}" = windows ]; then
    line="Z:$(echo "$2" | tr / '\\')\\"
  else
    line="$2/"
  fi
  printf '[RADUDI]\r\n%s\r\n' "$line" >"$1/Radudi32.ini"
}
