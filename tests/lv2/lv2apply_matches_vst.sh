#!/usr/bin/env bash
# lilv's own command-line host renders a file through the LV2 bundle; it must
# equal, bit for bit, what vst2-host renders through the VST plug-in with the
# same values. Both write Sun/NeXT float files, whose header holds no date,
# so equal audio means equal files.
#
# Usage: lv2apply_matches_vst.sh VST2_HOST VST_PLUGIN LV2_BUNDLE_DIR
# Exits 77 (skip) when lv2apply is not installed.
set -u -o pipefail
if [ $# -ne 3 ]; then
  echo "usage: $0 VST2_HOST VST_PLUGIN LV2_BUNDLE_DIR" >&2
  exit 2
fi
host=$1 plugin=$2 bundle=$3
if ! command -v lv2apply >/dev/null || ! command -v lv2ls >/dev/null; then
  echo "SKIP: lv2apply not installed (Debian package lilv-utils)"
  exit 77
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/lv2apply.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Only our bundle: the copy in the build tree, nothing installed.
export LV2_PATH=$(cd "$(dirname "$bundle")" && pwd)
uri=$(lv2ls)
if [ "$(echo "$uri" | wc -l)" -ne 1 ] || [ -z "$uri" ]; then
  echo "expected exactly one plug-in in $bundle, lv2ls lists: $uri"
  exit 1
fi

# The input: the built-in demo signal rendered through the Pseudo stereo
# program, so both channels carry distinct material.
"$host" render "$plugin" --program 5 -o "$work/in.au" >/dev/null || exit 1

# Each case sets the same values on both sides: normalised through vst2-host,
# in units through lv2apply. lv2apply runs one frame at a time, vst2-host in
# blocks: the engine's output does not depend on the block length.
status=0
check() {
  local name=$1; shift
  local -a vst_sets=() lv2_sets=()
  while [ $# -gt 0 ]; do
    vst_sets+=(--set-normalized "$1=$3")
    lv2_sets+=(-c "$2" "$4")
    shift 4
  done
  "$host" render "$plugin" -i "$work/in.au" --same-format "${vst_sets[@]}" -o "$work/vst.au" >/dev/null || return 1
  lv2apply -i "$work/in.au" -o "$work/lv2.au" "${lv2_sets[@]}" "$uri" >/dev/null || return 1
  if cmp -s "$work/vst.au" "$work/lv2.au"; then
    echo "$name: lv2apply output equals vst2-host render ($(stat -c %s "$work/lv2.au") bytes)"
  else
    echo "$name: lv2apply output differs from vst2-host render"
    cmp "$work/vst.au" "$work/lv2.au" | head -1
    return 1
  fi
}
# NAME then per value: VST name, LV2 symbol, normalised value, value in units.
# The normalised values are exact binary fractions of the ranges, so both
# sides reach the engine with the same float.
check "defaults" || status=1
check "moved" "Azi L" azi_l 0.25 -30 "Elev R" elev_r 0.75 30 "Width L" width_l 0.5 50 \
  "Active R" active_r 0 0 || status=1
exit $status
