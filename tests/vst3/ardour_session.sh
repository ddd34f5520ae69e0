#!/usr/bin/env bash
# A workstation we did not write loads the VST3 bundle: its VST3 scanner
# lists the plug-in with its stereo buses, and its headless Lua session host
# inserts it on a track, sets the eight parameters, saves; a second run loads
# the session and must read the same values back, exactly.
#
# Usage: ardour_session.sh VST3_BUNDLE
# Exits 77 (skip) when the workstation's scanner or session host is missing.
set -u -o pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 VST3_BUNDLE" >&2
  exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bundle=$(cd "$1" && pwd)
host_lib=""
for dir in ${THIRD_PARTY_HOST_LIB:-/usr/lib/ardour[0-9]*}; do
  [ -x "$dir/luasession" ] && [ -x "$dir/ardour-vst3-scanner" ] && host_lib=$dir
done
if [ -z "$host_lib" ]; then
  echo "SKIP: the workstation's VST3 scanner and Lua session host (Debian package ardour) are missing"
  exit 77
fi
host_name=$(basename "$host_lib")
work=$(mktemp -d "${TMPDIR:-/tmp}/ardour-vst3.XXXXXX")
trap 'rm -rf "$work"' EXIT
source "$here/../hosts/workstation_home.sh"
workstation_home "$work" "$host_name"
# The host's own VST3 folder in its private home holds the bundle.
mkdir -p "$HOME/.vst3"
ln -s "$bundle" "$HOME/.vst3/HF_Vantelor.vst3"

# The scanner indexes the bundle into the host's cache, where the session
# host finds it.
if ! LD_LIBRARY_PATH="$host_lib" timeout 60 "$host_lib/ardour-vst3-scanner" -f \
  "$HOME/.vst3/HF_Vantelor.vst3" >"$work/scan.log" 2>&1; then
  echo "the scanner failed; its log:"
  tail -n 20 "$work/scan.log"
  exit 1
fi
cache=$(find "$XDG_CACHE_HOME" -name '*.v3i' | head -n 1)
info=$(grep -o '<VST3Info [^>]*>' "$cache" 2>/dev/null)
for expected in 'uid="20B87AF5A6304DCAAB0DFAE9E3C5224B"' 'name="HF_Vantelor"' \
  'vendor="Harrowfields"' 'category="Fx|Spatial"' 'n_inputs="2"' 'n_outputs="2"' \
  'n_aux_inputs="0"' 'n_aux_outputs="0"' 'n_midi_inputs="0"' 'n_midi_outputs="0"'; do
  if [[ "$info" != *"$expected"* ]]; then
    echo "the scanner's index lacks $expected:"
    echo "$info"
    exit 1
  fi
done
echo "$host_name's scanner lists the plug-in:"
echo "$info"

run() {
  timeout 60 env LD_LIBRARY_PATH="$host_lib" ARDOUR_DATA_PATH="/usr/share/$host_name" \
    ARDOUR_CONFIG_PATH="/etc/$host_name" ARDOUR_DLL_PATH="$host_lib" \
    "$host_lib/luasession" "$here/ardour_session.lua" "$work/session" HF_Vantelor \
    "$work/$1.report" "$1" >"$work/$1.log" 2>&1
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
