# Sourced by the scripts that run Windows programs under Wine.

# Wine quiet, and without browser engine or .NET installer prompts in a
# fresh prefix, unless the caller chose otherwise.
quiet_wine() {
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
}

# Gives this shell a private Wine prefix in a temporary folder, prepared,
# removed with its server when the shell exits.
private_wine_prefix() {
  quiet_wine
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/vantelor-wine.XXXXXX")
  export WINEPREFIX
  trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
  wineboot --init >/dev/null 2>&1
  wineserver -w
}
