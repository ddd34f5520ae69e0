# Sourced by scripts/package --check after it built the packages into $OUT:
# checks each package as a musician's machine meets it. Every check prints
# what it found; the first failure stops the run with status 1.

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok    $*"; }

# dpkg ARGS...: waits while another installation holds dpkg's lock (other
# builds on the machine install packages too), up to five minutes.
dpkg_waiting() {
  local try out
  for try in $(seq 60); do
    if out=$(dpkg "$@" 2>&1); then
      return 0
    fi
    grep -q 'lock' <<<"$out" || { echo "$out" >&2; return 1; }
    sleep 5
  done
  echo "$out" >&2
  return 1
}

check_deb_contents() {
  step "the .deb: control fields and contents"
  local field value
  for field in Package Version Architecture Maintainer Section Priority Homepage Depends Description; do
    value=$(dpkg-deb -f "$DEB" "$field")
    [ -n "$value" ] || fail "control field $field is empty"
  done
  [ "$(dpkg-deb -f "$DEB" Package)" = "$VANTELOR_PACKAGE_NAME" ] || fail "Package is not $VANTELOR_PACKAGE_NAME"
  [ "$(dpkg-deb -f "$DEB" Version)" = "$VERSION" ] || fail "Version is not $VERSION"
  [ "$(dpkg-deb -f "$DEB" Architecture)" = amd64 ] || fail "Architecture is not amd64"
  # Computed by dpkg-shlibdeps from what the binaries link: the C library,
  # and the drawing, window and audio-file libraries of vst2-host and the editor.
  local depends lib
  depends=$(dpkg-deb -f "$DEB" Depends)
  for lib in libc6 libcairo2 libx11-6 libsndfile1; do
    [[ "$depends" == *"$lib "* || "$depends" == *"$lib," || "$depends" == *"$lib" ]] ||
      fail "Depends lacks $lib: $depends"
  done
  pass "control: $(dpkg-deb -f "$DEB" Package) $(dpkg-deb -f "$DEB" Version) $(dpkg-deb -f "$DEB" Architecture); Depends: $depends"

  DEB_FILES=$(dpkg-deb -c "$DEB" | awk '{print $6}' | sed 's|^\./|/|')
  local doc=/usr/share/doc/$VANTELOR_PACKAGE_NAME path
  local expected=(/usr/lib/vst/HF_Vantelor.so /usr/bin/vst2-host /usr/share/man/man1/vst2-host.1.gz
    "$doc/copyright" "$doc/changelog.gz" "$doc/HF_Vantelor-guide.html")
  # Every picture the guide shows sits beside it.
  local picture
  while read -r picture; do
    expected+=("$doc/$picture")
  done < <(grep -o 'src="[^":]*"' resources/HF_Vantelor-guide.html | sed 's/^src="//; s/"$//' | sort -u)
  if [ -d build/package/lv2 ]; then
    expected+=(/usr/lib/lv2/HF_Vantelor.lv2/manifest.ttl)
  fi
  expected+=(/usr/lib/vst3/HF_Vantelor.vst3/Contents/x86_64-linux/HF_Vantelor.so
    /usr/lib/vst3/HF_Vantelor.vst3/Contents/Resources/moduleinfo.json
    /usr/lib/clap/HF_Vantelor.clap)
  for path in "${expected[@]}"; do
    grep -qx -- "$path" <<<"$DEB_FILES" || fail "the .deb lacks $path"
  done
  # Nothing outside the folders a package of this kind owns.
  local stray
  stray=$(grep -v -e '^/$' -e '^/usr/$' -e '^/usr/lib/$' -e '^/usr/lib/vst/' -e '^/usr/lib/lv2/' \
    -e '^/usr/lib/vst3/' -e '^/usr/lib/clap/' \
    -e '^/usr/bin/' -e '^/usr/share/$' -e '^/usr/share/man/' -e "^/usr/share/doc/" <<<"$DEB_FILES" || true)
  [ -z "$stray" ] || fail "the .deb holds files outside its folders: $stray"
  pass "contents: $(grep -vc '/$' <<<"$DEB_FILES") files, the ${#expected[@]} expected among them"
}

check_lintian() {
  step "lintian"
  local log status=0
  log=$(mktemp)
  # As root lintian warns that it runs as root; that is no finding.
  lintian --fail-on error --display-info "$DEB" 2>&1 | grep -v 'running with root privileges' | tee "$log" ||
    true
  lintian --fail-on error "$DEB" >/dev/null 2>&1 || status=$?
  [ "$status" = 0 ] || fail "lintian reports errors (above)"
  pass "lintian: no errors ($(grep -c '^W:' "$log" || true) warnings, $(grep -c '^I:' "$log" || true) notes)"
  rm -f "$log"
}

check_deb_install() {
  step "the .deb installed on this machine with dpkg, then removed"
  [ "$(id -u)" = 0 ] || fail "installing the .deb needs root"
  if dpkg-query -W -f='${Status}' "$VANTELOR_PACKAGE_NAME" 2>/dev/null | grep -q 'ok installed'; then
    fail "$VANTELOR_PACKAGE_NAME is already installed on this machine; remove it first (dpkg -r $VANTELOR_PACKAGE_NAME)"
  fi
  dpkg_waiting -i "$DEB" || fail "dpkg -i failed"
  # Removed again whatever happens below.
  trap 'dpkg_waiting --purge "$VANTELOR_PACKAGE_NAME" >/dev/null 2>&1 || true; cleanup' EXIT

  local json vendor
  json=$(/usr/bin/vst2-host info /usr/lib/vst/HF_Vantelor.so --json) || fail "vst2-host info failed on the installed plug-in"
  vendor=$(jq -r .vendorVersion <<<"$json")
  [ "$vendor" = "$VANTELOR_VENDOR_VERSION" ] ||
    fail "the installed plug-in reports version $vendor, the package is $VERSION"
  pass "/usr/bin/vst2-host info /usr/lib/vst/HF_Vantelor.so: $(jq -r .name <<<"$json"), vendor version $vendor (package $VERSION)"
  man -l /usr/share/man/man1/vst2-host.1.gz >/dev/null 2>&1 || zcat /usr/share/man/man1/vst2-host.1.gz | grep -q '^\.TH VST2-HOST' ||
    fail "the manual page does not read"

  # The link button looks beside the plug-in, then in the documentation
  # folder (the editor's tests check that order): there the package put
  # the guide, and nothing beside the plug-in hides it.
  local guide_dir=/usr/share/doc/$VANTELOR_PACKAGE_NAME/
  [ -f "${guide_dir}HF_Vantelor-guide.html" ] || fail "no installed guide in $guide_dir"
  [ ! -e /usr/lib/vst/HF_Vantelor-guide.html ] || fail "a guide beside the installed plug-in would be found first"
  pass "the link button's guide: ${guide_dir}HF_Vantelor-guide.html"

  if grep -q '^/usr/lib/lv2/HF_Vantelor.lv2/' <<<"$DEB_FILES"; then
    LV2_PATH=/usr/lib/lv2 lv2ls | grep -i vantelor >/dev/null || fail "lilv does not find the installed LV2 bundle"
    pass "lilv finds the LV2 bundle: $(LV2_PATH=/usr/lib/lv2 lv2ls | grep -i vantelor | tr '\n' ' ')"
  else
    echo "--    no LV2 bundle in this tree's build: nothing to find with lilv"
  fi

  dpkg_waiting -r "$VANTELOR_PACKAGE_NAME" || fail "dpkg -r failed"
  trap cleanup EXIT
  local path left=()
  while read -r path; do
    case "$path" in
      */) [ -d "$path" ] && [ -z "$(ls -A "$path" 2>/dev/null)" ] && left+=("$path (empty folder)") ;;
      *) [ -e "$path" ] && left+=("$path") ;;
    esac
  done <<<"$DEB_FILES"
  [ ! -e "/usr/share/doc/$VANTELOR_PACKAGE_NAME" ] || left+=("/usr/share/doc/$VANTELOR_PACKAGE_NAME")
  [ ${#left[@]} = 0 ] || fail "dpkg -r left behind: ${left[*]}"
  [ -z "$(dpkg-query -W -f='${Conffiles}' "$VANTELOR_PACKAGE_NAME" 2>/dev/null)" ] ||
    fail "configuration files left behind"
  pass "dpkg -r: none of the package's $(grep -vc '/$' <<<"$DEB_FILES") files is left"
  # CPack gives a package with a shared object under /usr/lib an ldconfig
  # call after removal, so dpkg keeps its record until a purge.
  dpkg_waiting --purge "$VANTELOR_PACKAGE_NAME" || fail "dpkg --purge failed"
  ! dpkg-query -W "$VANTELOR_PACKAGE_NAME" >/dev/null 2>&1 || fail "dpkg still knows $VANTELOR_PACKAGE_NAME after a purge"
}

# Under Wine: registry values of the installed program, empty when absent.
uninstall_value() {
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\HF_Vantelor' /v "$1" /reg:64 2>/dev/null |
    tr -d '\r' | awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^  */, ""); print }'
}

# The VST3 bundle and the CLAP plug-in where every host of those formats
# looks, as the installer puts them (UNIX paths in the prefix).
win_format_files() {
  local common="$WINEPREFIX/drive_c/Program Files/Common Files"
  echo "$common/VST3/HF_Vantelor.vst3/Contents/x86_64-win/HF_Vantelor.vst3"
  echo "$common/VST3/HF_Vantelor.vst3/Contents/Resources/moduleinfo.json"
  echo "$common/CLAP/HF_Vantelor.clap"
}

# check_installed_folder UNIX_DIR WINDOWS_DIR
check_installed_folder() {
  local dir=$1 windir=$2 f
  for f in "${WIN_FILES[@]}" HF_Vantelor-uninstall.exe; do
    [ -f "$dir/$f" ] || fail "the installer did not put $f into $windir"
  done
  while read -r f; do
    [ -f "$f" ] || fail "the installer did not install ${f#"$WINEPREFIX/drive_c/"}"
  done < <(win_format_files)
  cmp -s "$WINEPREFIX/drive_c/Program Files/Common Files/CLAP/HF_Vantelor.clap" \
    build/package-windows/stage/CLAP/HF_Vantelor.clap || fail "the installed CLAP plug-in differs from the built one"
  cmp -s "$dir/HF_Vantelor.dll" build/package-windows/stage/HF_Vantelor.dll || fail "the installed DLL differs from the built one"
  [ "$(uninstall_value DisplayVersion)" = "$VERSION" ] || fail "no DisplayVersion $VERSION among the installed programs"
  [ "$(uninstall_value Publisher)" = Harrowfields ] || fail "no Publisher among the installed programs"
  [[ "$(uninstall_value DisplayName)" == "HF_Vantelor $VERSION"* ]] || fail "no DisplayName among the installed programs"
  [[ "$(uninstall_value UninstallString)" == *HF_Vantelor-uninstall.exe* ]] || fail "no UninstallString"
  [ "$(uninstall_value InstallLocation)" = "$windir" ] || fail "InstallLocation is not $windir"
  local size
  size=$(uninstall_value EstimatedSize)
  [ -n "$size" ] && [ $((size)) -gt 0 ] || fail "no EstimatedSize"
  pass "installed into $windir: ${WIN_FILES[*]} and the uninstaller; the VST3 bundle and the CLAP plug-in into Common Files; registered as '$(uninstall_value DisplayName)', $(uninstall_value Publisher), version $(uninstall_value DisplayVersion), $((size)) KiB"
}

# check_uninstalled UNIX_DIR WINDOWS_DIR FOLDER_EXISTED_BEFORE
check_uninstalled() {
  local dir=$1 windir=$2 existed=$3 f left=()
  wine "$dir/HF_Vantelor-uninstall.exe" /S
  # The uninstaller runs a copy of itself from the temporary folder.
  wineserver -w
  for f in "${WIN_FILES[@]}" HF_Vantelor-uninstall.exe; do
    [ ! -e "$dir/$f" ] || left+=("$f")
  done
  [ ${#left[@]} = 0 ] || fail "the uninstaller left ${left[*]} in $windir"
  while read -r f; do
    [ ! -e "$f" ] || fail "the uninstaller left ${f#"$WINEPREFIX/drive_c/"}"
  done < <(win_format_files)
  [ ! -e "$WINEPREFIX/drive_c/Program Files/Common Files/VST3/HF_Vantelor.vst3" ] ||
    fail "the uninstaller left the VST3 bundle's folders"
  [ -z "$(uninstall_value DisplayName)" ] || fail "the uninstaller left its registration"
  if [ "$existed" = 1 ]; then
    [ -f "$dir/Other-plugin.dll" ] || fail "the uninstaller removed another plug-in's file"
  else
    [ ! -e "$dir" ] || fail "the uninstaller left the folder it made: $windir"
  fi
  pass "uninstalled from $windir and Common Files: files and registration gone$([ "$existed" = 1 ] && echo ", another plug-in's file kept")"
}

check_installer() {
  step "the Windows installer under Wine (private prefix)"
  (
    source scripts/lib/wine.sh
    private_wine_prefix
    # private_wine_prefix's trap replaced ours: both cleanups on exit.
    trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
    local c="$WINEPREFIX/drive_c"
    local default="$c/Program Files/Common Files/VST2"
    local setup="$OUT/HF_Vantelor-$VERSION-win64-setup.exe"
    # The VST 2.4 plug-in and its guide, at the top of the staged install.
    mapfile -t WIN_FILES < <(cd build/package-windows/stage && find . -maxdepth 1 -type f -printf '%P\n' | sort)
    # Every picture the guide shows is installed beside it.
    local picture
    while read -r picture; do
      printf '%s\n' "${WIN_FILES[@]}" | grep -qx -- "$picture" || fail "the Windows installer lacks $picture"
    done < <(grep -o 'src="[^":]*"' resources/HF_Vantelor-guide.html | sed 's/^src="//; s/"$//' | sort -u)

    wine "$setup" /S || fail "the installer failed with /S"
    wineserver -w
    check_installed_folder "$default" 'C:\Program Files\Common Files\VST2'

    # The DLL installed that way loads in a Windows host and renders.
    local rendered
    rendered=$(wine build/package-windows/tests/windows/crossbuild/vantelor_render_matrix.exe \
      'C:\Program Files\Common Files\VST2\HF_Vantelor.dll' | tr -d '\r') || fail "the Windows host could not render through the installed DLL"
    [ "$(wc -l <<<"$rendered")" -gt 1 ] || fail "the Windows host rendered nothing"
    pass "the Windows test host loaded the installed DLL and rendered $(wc -l <<<"$rendered") cases"

    # Into a folder of the user's that holds another plug-in: the install
    # in the default folder is removed first, so a host never finds two.
    # (No space in the name: Wine quotes such an argument, and the installer
    # reads /D= only unquoted, as Windows passes it.)
    local other="$c/Audio/VSTPlugins"
    mkdir -p "$other"
    touch "$other/Other-plugin.dll"
    wine "$setup" /S '/D=C:\Audio\VSTPlugins' || fail "the installer failed with /S /D="
    wineserver -w
    check_installed_folder "$other" 'C:\Audio\VSTPlugins'
    [ ! -e "$default" ] || fail "the earlier install in the default folder was left: $(ls "$default")"
    pass "the earlier install in the default folder was removed with the folder it made"

    # An update without /D= goes where the last install went.
    wine "$setup" /S || fail "the installer failed with /S"
    wineserver -w
    check_installed_folder "$other" 'C:\Audio\VSTPlugins'
    [ ! -e "$default" ] || fail "the update without /D= did not keep the last install's folder"
    pass "an update without /D= installed into the last install's folder"
    check_uninstalled "$other" 'C:\Audio\VSTPlugins' 1
  )
}

check_reproducible() {
  step "a second build from a copy of the tree in another folder: the same bytes"
  local copy=$ROOT/build/package-reproduce
  rm -rf "$copy"
  mkdir -p "$copy/tree"
  # The working tree as it is, tracked and new files alike, without builds.
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    tar -c --null -T - | tar -x -C "$copy/tree"
  (cd "$copy/tree" && VANTELOR_PACKAGE_OUT="$copy/out" scripts/package >"$copy/log" 2>&1) ||
    { tail -n 30 "$copy/log" >&2; fail "the second build failed (log: $copy/log)"; }
  echo "first run:"
  sed 's/^/  /' "$OUT/SHA256SUMS"
  echo "second run, in $copy/tree:"
  sed 's/^/  /' "$copy/out/SHA256SUMS"
  cmp -s "$OUT/SHA256SUMS" "$copy/out/SHA256SUMS" || fail "the two builds differ"
  pass "two builds in two folders give identical packages"
  rm -rf "$copy"
}

cleanup() { :; }

run_package_checks() {
  # shellcheck source=/dev/null
  source build/package/packaging/package.env
  VERSION=$VANTELOR_VERSION
  DEB="$OUT/${VANTELOR_PACKAGE_NAME}_${VERSION}_amd64.deb"
  source scripts/lib/xvfb.sh
  start_xvfb
  cleanup() { kill "$VANTELOR_XVFB_PID" 2>/dev/null || true; }
  trap cleanup EXIT

  check_deb_contents
  check_lintian
  check_deb_install
  check_installer
  check_reproducible
  echo
  echo "Package checks passed"
}
