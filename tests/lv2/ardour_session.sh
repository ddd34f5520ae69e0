#!/usr/bin/env bash
# A workstation we did not write keeps the LV2 plug-in's values in its saved
# session: its headless Lua session host inserts the plug-in on a track, sets
# the eight controls, saves; a second run loads the session and must read the
# same values back, exactly.
#
# Usage: ardour_session.sh LV2_BUNDLE_DIR
# Exits 77 (skip) when the workstation's session host or lv2ls is missing.
set -u -o pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 LV2_BUNDLE_DIR" >&2
  exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
host_lib=""
for dir in ${THIRD_PARTY_HOST_LIB:-/usr/lib/ardour[0-9]*}; do
  [ -x "$dir/luasession" ] && host_lib=$dir
done
if [ -z "$host_lib" ] || ! command -v lv2ls >/dev/null; then
  echo "SKIP: the workstation's Lua session host (Debian package ardour) or lv2ls is missing"
  exit 77
fi
host_name=$(basename "$host_lib")
work=$(mktemp -d "${TMPDIR:-/tmp}/ardour-lv2.XXXXXX")
trap 'rm -rf "$work"' EXIT
source "$here/../hosts/workstation_home.sh"
workstation_home "$work" "$host_name"
export LV2_PATH=$(cd "$(dirname "$1")" && pwd)
uri=$(lv2ls)
run() {
  timeout 60 env LD_LIBRARY_PATH="$host_lib" ARDOUR_DATA_PATH="/usr/share/$host_name" \
    ARDOUR_CONFIG_PATH="/etc/$host_name" ARDOUR_DLL_PATH="$host_lib" \
    "$host_lib/luasession" "$here/ardour_session.lua" "$work/session" "$uri" "$work/$1.report" "$1" \
    >"$work/$1.log" 2>&1
}
status=0
for mode in create load; do
  if ! run "$mode" || [ "$(tail -n 1 "$work/$mode.report" 2>/dev/null)" != "end" ]; then
    echo "$host_name $mode failed; its log:"
    tail -n 20 "$work/$mode.log"
    exit 1
  fi
  if grep -q '^mismatch' "$work/$mode.report"; then
    echo "$host_name $mode: values differ from those set:"
    cat "$work/$mode.report"
    status=1
  fi
done
if ! diff -u --label saved --label reloaded "$work/create.report" "$work/load.report"; then
  status=1
fi
[ $status -eq 0 ] && { echo "$host_name saved and reloaded the eight values exactly:"; cat "$work/load.report"; }
exit $status
