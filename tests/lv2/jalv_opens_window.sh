#!/usr/bin/env bash
# A host we did not write, jalv.gtk3, opens the plug-in's own window: it
# loads the bundle from the build tree on JACK's dummy driver (no sound card)
# and embeds the UI in its window, which then holds a child of the window's
# size inside jalv's embedding socket.
#
# Usage: jalv_opens_window.sh LV2_BUNDLE_DIR
# Needs DISPLAY (an X server); exits 77 (skip) when jalv.gtk3, jackd or
# xwininfo is missing or there is no display.
set -u -o pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 LV2_BUNDLE_DIR" >&2
  exit 2
fi
bundle=$1
for tool in jalv.gtk3 jackd xwininfo lv2ls; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool not installed (Debian packages jalv, jackd2, x11-utils, lilv-utils)"
    exit 77
  fi
done
if [ -z "${DISPLAY:-}" ]; then
  echo "SKIP: no X display"
  exit 77
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/jalv.XXXXXX")
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
# A private home and JACK server, so nothing of the user's setup is used.
export HOME=$work JACK_DEFAULT_SERVER=vantelor-jalv-$$
export LV2_PATH=$(cd "$(dirname "$bundle")" && pwd)
uri=$(lv2ls)
jackd --no-realtime -d dummy -r 48000 -p 256 >"$work/jackd.log" 2>&1 &
pids+=($!)
jalv.gtk3 "$uri" >"$work/jalv.log" 2>&1 &
pids+=($!)

# The window size the UI asks for, from its picture: 414 x 289.
size=414x289
for _ in $(seq 1 100); do
  tree=$(xwininfo -root -tree 2>/dev/null)
  # A window of that size nested inside jalv's socket of the same size.
  if echo "$tree" | awk -v size="$size" '
      index($0, "\"jalv.gtk3\"") && index($0, size) { socket = match($0, /[^ ]/); next }
      socket && index($0, size) && match($0, /[^ ]/) > socket { found = 1 }
      END { exit !found }'; then
    echo "jalv.gtk3 shows the plug-in's window ($size) in its own:"
    echo "$tree" | grep -E "HF_Vantelor|$size"
    exit 0
  fi
  sleep 0.2
done
echo "jalv.gtk3 did not embed the plug-in's window; its log:"
cat "$work/jalv.log"
echo "windows:"
xwininfo -root -tree
exit 1
