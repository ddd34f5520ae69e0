#!/usr/bin/env bash
# Qtractor's plug-in scanner, a third-party CLAP loader, lists our module:
# its name, its stereo ports and its eight parameters.
#   qtractor_scan.sh HF_Vantelor.clap
set -euo pipefail
plugin=$1
scanner=/usr/lib/x86_64-linux-gnu/qtractor/qtractor_plugin_scan
if [ ! -x "$scanner" ]; then
  echo "SKIP: $scanner is missing (Debian package qtractor)" >&2
  exit 77
fi
out=$(mktemp)
trap 'rm -f "$out"' EXIT
printf 'CLAP:%s\n' "$plugin" | QT_QPA_PLATFORM=offscreen timeout 30 "$scanner" >"$out" 2>&1 || true
cat "$out"
fail() { echo "FAIL: $*" >&2; exit 1; }
# One line per plug-in: CLAP|name|audio ins:outs|MIDI ins:outs|params ins:outs|...
line=$(grep '^CLAP|HF_Vantelor|' "$out") || fail "the scanner did not list HF_Vantelor"
IFS='|' read -r _ name audio midi params _ <<<"$line"
[ "$audio" = "2:2" ] || fail "audio channels $audio, not 2:2"
[ "$midi" = "0:0" ] || fail "MIDI ports $midi, not 0:0"
[ "$params" = "8:0" ] || fail "parameters $params, not 8:0"
echo "qtractor_plugin_scan lists $name: audio $audio, MIDI $midi, parameters $params"
