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

# A copy of the page that writes, once everything has loaded, what the
# browser made of each picture into the document, for --dump-dom to print.
probe='<script>
window.addEventListener("load", function () {
  var images = Array.prototype.map.call(document.images, function (i) {
    return { src: i.getAttribute("src"), complete: i.complete, natural: i.naturalWidth,
             shown: i.getBoundingClientRect().width };
  });
  var out = document.createElement("pre");
  out.textContent = "PROBE " + JSON.stringify({ images: images, window: window.innerWidth,
    page: document.documentElement.scrollWidth });
  document.body.appendChild(out);
});
</script>'
awk -v probe="$probe" '/<\/body>/ { print probe } { print }' "$work/guide/HF_Vantelor-guide.html" \
  > "$work/guide/probe.html"

run_browser() {
  "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile-$RANDOM" --hide-scrollbars --virtual-time-budget=10000 "$@" 2>/dev/null
}

expected=$(grep -o '<img ' "$guide_dir/HF_Vantelor-guide.html" | wc -l)
status=0
for size in desktop:1280,5000 phone:390,9000; do
  name=${size%%:*}
  window=${size#*:}
  run_browser --window-size="$window" --screenshot="$shots/guide-$name.png" \
    "file://$work/guide/HF_Vantelor-guide.html" >/dev/null
  [ -s "$shots/guide-$name.png" ] || { echo "$name: no screenshot"; status=1; }
  report=$(run_browser --window-size="$window" --dump-dom "file://$work/guide/probe.html" \
    | grep -o '<pre>PROBE .*</pre>' | sed 's/^<pre>PROBE //; s/<\/pre>$//' || true)
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
