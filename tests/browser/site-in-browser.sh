#!/usr/bin/env bash
# Writes the web site and the JSON export of a sample log with vexor, then checks the site in
# headless Chromium (tests/browser/site-check.js). A missing browser or Node fails the test:
# scripts/install-deps.sh installs both.
#   tests/browser/site-in-browser.sh BUILD_DIR SOURCE_DIR [SCREENSHOT_FOLDER]
set -euo pipefail
build=$1
source=$2
shots=${3:-}
chromium=${CHROMIUM:-$(command -v chromium || true)}
if [ -z "$chromium" ]; then
  echo "chromium is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
if ! command -v node >/dev/null; then
  echo "node is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The report goes to $work/html and the site beside it, so the games link to the report.
"$build/src/vexor" -q -C "$work" --json "$work/stats.json" --site "$work/site" \
  "$source/samples/server-ffa-ctf.log"
node "$source/tests/browser/site-check.js" "$chromium" "$work/site" "$work/stats.json" $shots
