# Sourced by the scripts: starts Xvfb on a free display and exports DISPLAY.
# The server is stopped when the calling script exits.

start_xvfb() {
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
      Xvfb ":${n}" -screen 0 1280x1024x24 -nolisten tcp -maxclients 1024 +extension XTEST >/dev/null 2>&1 &
      VANTELOR_XVFB_PID=$!
      local i
      for i in $(seq 1 100); do
        if xdpyinfo -display ":${n}" >/dev/null 2>&1; then
          export DISPLAY=":${n}"
          trap 'kill "$VANTELOR_XVFB_PID" 2>/dev/null || true' EXIT
          return 0
        fi
        if ! kill -0 "$VANTELOR_XVFB_PID" 2>/dev/null; then
          break
        fi
        sleep 0.1
      done
      kill "$VANTELOR_XVFB_PID" 2>/dev/null || true
    fi
  done
  echo "error: could not start Xvfb" >&2
  return 1
}
