#!/bin/sh
# The generated descriptions checked against the installed LV2 specifications:
# any error or warning fails. Skips (exit 77) when the validator is missing.
# validate.sh LV2_VALIDATE BUNDLE_DIR
validator=$1
bundle=$2
if [ -z "$validator" ] || [ ! -x "$validator" ]; then
    echo "lv2_validate not found (Debian package lv2-dev)"
    exit 77
fi
out=$("$validator" "$bundle"/*.ttl 2>&1)
status=$?
printf '%s\n' "$out"
# sord_validate reports "Found N errors" and one "error:" or "warning:" line
# per finding.
if [ $status -ne 0 ] || ! printf '%s\n' "$out" | grep -q '^Found 0 errors' ||
   printf '%s\n' "$out" | grep -qi '^\(error\|warning\):'; then
    echo "lv2_validate found problems"
    exit 1
fi
echo "lv2_validate: no errors or warnings"
