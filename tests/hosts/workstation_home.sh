# Sourced by the tests that run the workstation's headless session host.
#
# workstation_home WORK HOST_NAME: gives the host a private home under WORK,
# so nothing of the user's configuration or plug-in cache leaks in and
# nothing is left behind, with the dummy audio backend shown (it is hidden by
# default, and no sound card may be present); no display and no JACK server.
workstation_home() {
  local work=$1 host_name=$2
  export HOME=$work/home
  export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data
  mkdir -p "$HOME" "$XDG_CONFIG_HOME/$host_name" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"
  cat > "$XDG_CONFIG_HOME/$host_name/config" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="hide-dummy-backend" value="0"/>
  </Config>
</Ardour>
XML
  unset DISPLAY JACK_DEFAULT_SERVER
}
