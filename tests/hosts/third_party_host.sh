#!/usr/bin/env bash
# A VST 2.4 host that is not ours must read the same identity, parameters and
# programs from a plug-in as our own command-line host does.
#
# The third-party host is the Debian packaging of a digital audio workstation:
# its VST 2 scanner reads the identity into its plug-in cache, and its headless
# Lua session host instantiates the plug-in on the dummy audio backend and
# reads parameters and programs. Each side is turned into the same plain-text
# report and the two are compared line by line.
#
# Usage: third_party_host.sh VST2_HOST PLUGIN [PLUGIN...]
# Exits 0 when every plug-in matches, 1 on any difference or host failure,
# 77 (skip) when the third-party host or jq is not installed.
set -u -o pipefail

readonly SKIP=77
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ $# -lt 2 ]; then
  echo "usage: $0 VST2_HOST PLUGIN [PLUGIN...]" >&2
  exit 2
fi
vst2_host=$1
shift

# The newest installed release of the third-party host; THIRD_PARTY_HOST_LIB
# names another installation folder.
host_lib=""
for dir in ${THIRD_PARTY_HOST_LIB:-/usr/lib/ardour[0-9]*}; do
  [ -x "$dir/ardour-vst-scanner" ] && [ -x "$dir/luasession" ] && host_lib=$dir
done
if [ -z "$host_lib" ]; then
  echo "SKIP: third-party VST host not installed (Debian package ardour)"
  exit $SKIP
fi
for plugin in "$@"; do
  if [ ! -f "$plugin" ]; then
    echo "SKIP: $plugin not found"
    exit $SKIP
  fi
done
if ! command -v jq >/dev/null; then
  echo "SKIP: jq not installed"
  exit $SKIP
fi
host_name=$(basename "$host_lib")       # e.g. ardour7
host_share=/usr/share/$host_name
host_etc=/etc/$host_name

work=$(mktemp -d "${TMPDIR:-/tmp}/third-party-host.XXXXXX")
trap 'rm -rf "$work"' EXIT

source "$here/workstation_home.sh"
workstation_home "$work" "$host_name"

host_env=(env LD_LIBRARY_PATH="$host_lib" ARDOUR_DATA_PATH="$host_share"
          ARDOUR_CONFIG_PATH="$host_etc" ARDOUR_DLL_PATH="$host_lib")

# Our host's view, as the same records the session probe writes.
expected_identity() {
  jq -r '
    "name\t\(.name)", "vendor\t\(.vendor)", "unique-id\t\(.uniqueIdValue)",
    "inputs\t\(.inputs)", "outputs\t\(.outputs)", "category\t\(.category.name)",
    "editor\t\(.flags.value % 2)",
    "replacing\t\(if (.flags.value / 16 | floor) % 2 == 1 then 1 else 0 end)"' "$1"
}
expected_session() {
  jq -r '
    "name\t\(.name)", "vendor\t\(.vendor)", "unique-id\t\(.uniqueIdValue)",
    "inputs\t\(.inputs)", "outputs\t\(.outputs)",
    "parameters\t\(.parameters | length)",
    (.parameters[] | "parameter\t\(.index)\t\(.name)\t\(.value)"),
    "programs\t\(.programs | length)",
    (.programs[] | "program\t\(.index)\t\(.name)"),
    "end"' "$1" | normalise_values
}
# Values compared as the single-precision numbers they are on both sides.
normalise_values() {
  awk -F'\t' -v OFS='\t' '$1 == "parameter" { $4 = sprintf("%.9g", $4) } { print }'
}

# The scanner's cache entry: one element whose attributes are the identity.
scanned_identity() {
  local entry
  entry=$(grep -o '<VST2Info [^>]*>' "$1" | head -n 1)
  attr() { sed -n "s/.* $1=\"\([^\"]*\)\".*/\1/p" <<< "$entry"; }
  printf 'name\t%s\nvendor\t%s\nunique-id\t%s\ninputs\t%s\noutputs\t%s\n' \
    "$(attr name)" "$(attr creator)" "$(attr id)" "$(attr n_inputs)" "$(attr n_outputs)"
  printf 'category\t%s\neditor\t%s\nreplacing\t%s\n' \
    "$(attr category)" "$(attr has_editor)" "$(attr can_process_replace)"
}

# Compare one report with our host's; print the differences and fail on any.
compare() {
  local what=$1 expected=$2 actual=$3
  if diff -u --label "vst2-host" --label "$host_name $what" "$expected" "$actual"; then
    echo "  $what: $(wc -l < "$actual") records match"
    return 0
  fi
  echo "  $what: differs from vst2-host" >&2
  return 1
}

check_plugin() {
  local plugin=$1 n=$2
  local dir=$work/$n
  mkdir -p "$dir/vst"
  # The host finds plug-ins by folder; give it a folder with only this one.
  ln -s "$(readlink -f "$plugin")" "$dir/vst/$(basename "$plugin")"
  local linked=$dir/vst/$(basename "$plugin")

  echo "$plugin"
  if ! "$vst2_host" info --json "$plugin" > "$dir/ours.json" 2> "$dir/ours.err"; then
    echo "  vst2-host info failed:" >&2; cat "$dir/ours.err" >&2
    return 1
  fi

  local cache=$XDG_CACHE_HOME/$host_name/vst
  rm -f "$cache"/*.v2i
  if ! timeout 20 "${host_env[@]}" "$host_lib/ardour-vst-scanner" -f -q "$linked" \
         > "$dir/scan.log" 2>&1; then
    echo "  scanner failed on the plug-in:" >&2; cat "$dir/scan.log" >&2
    return 1
  fi
  local entry
  entry=$(ls "$cache"/*.v2i 2>/dev/null | head -n 1)
  if [ -z "$entry" ]; then
    echo "  scanner wrote no cache entry:" >&2; cat "$dir/scan.log" >&2
    return 1
  fi
  # The session host trusts a cache entry only when it is newer than the
  # plug-in, to the second; a plug-in linked moments ago would look stale.
  touch -d '+2 seconds' "$entry"
  expected_identity "$dir/ours.json" > "$dir/identity.expected"
  scanned_identity "$entry" > "$dir/identity.actual"

  local unique_id
  unique_id=$(jq -r .uniqueIdValue "$dir/ours.json")
  if ! LXVST_PATH=$dir/vst timeout 40 "${host_env[@]}" "$host_lib/luasession" \
         "$here/session_probe.lua" "$dir/session" "$unique_id" "$dir/session.report" \
         > "$dir/session.log" 2>&1; then
    echo "  session host failed:" >&2; cat "$dir/session.log" >&2
    [ -f "$dir/session.report" ] && cat "$dir/session.report" >&2
    return 1
  fi
  expected_session "$dir/ours.json" > "$dir/session.expected"
  normalise_values < "$dir/session.report" > "$dir/session.actual"

  local ok=0
  compare "scanner identity" "$dir/identity.expected" "$dir/identity.actual" || ok=1
  compare "session parameters and programs" "$dir/session.expected" "$dir/session.actual" || ok=1
  if [ $ok -eq 0 ]; then
    # What the third-party host read, for the log.
    sed 's/^/    scanner  /' "$dir/identity.actual"
    grep -v '^end$' "$dir/session.actual" | sed 's/^/    session  /'
  fi
  return $ok
}

status=0
n=0
for plugin in "$@"; do
  n=$((n + 1))
  if [ ! -f "$plugin" ]; then
    echo "$plugin: no such plug-in" >&2
    status=1
    continue
  fi
  check_plugin "$plugin" $n || status=1
done

# Two different plug-ins must not produce the same report: a comparison that
# passes on both would otherwise prove nothing about what was read.
if [ $status -eq 0 ] && [ $n -ge 2 ] && [ "$(readlink -f "$1")" != "$(readlink -f "$2")" ] &&
   cmp -s "$work/1/session.actual" "$work/2/session.actual"; then
  echo "different plug-ins gave identical reports" >&2
  status=1
fi
exit $status
