#!/usr/bin/env bash
# The desktop program on the bundled server log, as "make demo" starts it: the start directory
# DEMO_DIR (its config/ and html/), the statistics loaded and the logged data screen showing.
# Further options are passed on (the test adds --quit-after-load).
# Usage: scripts/demo-gui.sh BUILD_DIR DEMO_DIR [OPTION...]
set -euo pipefail
build=$1
demo=$2
shift 2
top="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$demo"
exec "$build/src/vexor-gui" -C "$demo" --screen logged-data "$@" "$top/samples/server-ffa-ctf.log"
