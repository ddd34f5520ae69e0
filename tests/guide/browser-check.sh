#!/bin/bash
# The installed guide in a real browser (headless Chromium) at a desktop and a
# phone width: every picture loaded (complete, with a natural width), none
# wider than the window, the page never wider than the window; screenshots of
# both widths are kept for a reader to look at.
#   browser-check.sh INSTALLED_GUIDE_DIR SCREENSHOT_DIR
# Exit status 77 (skipped) when Chromium is not installed.
set -euo pipefail
guide_dir=$1
shots=$2
browser=$(command -v chromium || true)
if [ -z "$browser" ]; then
  echo "chromium is not installed (Debian package chromium): skipped"
  exit 77
fi
command -v jq >/dev/null || { echo "jq is not installed: skipped"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/guide" "$shots"
cp "$guide_dir"/HF_Vantelor-guide.html "$guide_dir"/*.png "$work/guide/"

# A copy of the page that reports, once everything has loaded, what the
# browser made of each picture: into its own document for --dump-dom to
# print, and to a page that holds it in a frame.
probe='<script>
window.addEventListener("load", function () {
  var images = Array.prototype.map.call(document.images, function (i) {
    return { src: i.getAttribute("src"), complete: i.complete, natural: i.naturalWidth,
             shown: i.getBoundingClientRect().width };
  });
  var report = JSON.stringify({ images: images, window: window.innerWidth,
    page: document.documentElement.scrollWidth });
  if (window.parent !== window)
    window.parent.postMessage(report, "*");
  var out = document.createElement("pre");
  out.textContent = "PROBE " + report;
  document.body.appendChild(out);
});
</script>'
awk -v probe="$probe" '/<\/body>/ { print probe } { print }' "$work/guide/HF_Vantelor-guide.html" \
  > "$work/guide/probe.html"

# Chromium will not make a window narrower than 500 pixels: a phone's
# 390-pixel screen is a frame of that width in a page of its own.
frame() {
  cat <<HTML
<!DOCTYPE html><html><body style="margin:0">
<iframe src="$1" style="width:390px;height:9000px;border:0"></iframe>
<script>window.addEventListener("message", function (e) {
  var out = document.createElement("pre"); out.textContent = "PROBE " + e.data; document.body.appendChild(out);
});</script>
</body></html>
HTML
}
frame HF_Vantelor-guide.html > "$work/guide/phone.html"
frame probe.html > "$work/guide/phone-probe.html"

run_browser() {
  "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile-$RANDOM" --hide-scrollbars --virtual-time-budget=10000 "$@" 2>/dev/null
}

expected=$(grep -o '<img ' "$guide_dir/HF_Vantelor-guide.html" | wc -l)
status=0
for setting in desktop:1280,5000:HF_Vantelor-guide.html:probe.html phone:500,9000:phone.html:phone-probe.html; do
  IFS=: read -r name window page probed <<<"$setting"
  run_browser --window-size="$window" --screenshot="$shots/guide-$name.png" \
    "file://$work/guide/$page" >/dev/null
  [ -s "$shots/guide-$name.png" ] || { echo "$name: no screenshot"; status=1; }
  report=$(run_browser --window-size="$window" --dump-dom "file://$work/guide/$probed" \
    | grep -o '<pre>PROBE .*</pre>' | head -1 | sed 's/^<pre>PROBE //; s/<\/pre>$//' || true)
  if [ -z "$report" ]; then
    echo "$name: the page reported nothing"
    status=1
    continue
  fi
  count=$(jq '.images | length' <<<"$report")
  broken=$(jq -r '.images[] | select(.complete != true or .natural == 0) | .src' <<<"$report")
  oversized=$(jq -r '.window as $w | .images[] | select(.shown > $w) | .src' <<<"$report")
  page=$(jq '.page' <<<"$report")
  width=$(jq '.window' <<<"$report")
  echo "$name (${width} px): $count pictures, page $page px wide"
  [ "$count" -eq "$expected" ] || { echo "$name: $count pictures in the browser, $expected on the page"; status=1; }
  [ -z "$broken" ] || { echo "$name: not loaded: $broken"; status=1; }
  [ -z "$oversized" ] || { echo "$name: wider than the window: $oversized"; status=1; }
  [ "$page" -le "$width" ] || { echo "$name: the page scrolls sideways"; status=1; }
done
exit $status
