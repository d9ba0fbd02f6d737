#!/usr/bin/env bash
# CI: the Debian package of BUILD_DIR checked with lintian (no errors allowed; warnings are
# listed), installed with apt-get as a user would, its programs run from the installed files,
# then removed again. Changes the machine: run as root on a CI machine only.
# Usage: scripts/check-package.sh BUILD_DIR
set -euo pipefail
build=$1
top="$(cd "$(dirname "$0")/.." && pwd)"
deb=$(ls "$build"/vexor_*_amd64.deb)

echo "lintian $deb"
lintian --fail-on error "$deb"

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -q "$(realpath "$deb")"
trap 'apt-get remove -y -q vexor' EXIT

work=$(mktemp -d)
cd "$work"
command -v vexor vexor-gui
vexor --version
cp "$top/samples/server-ffa-ctf.log" "$top/samples/client-console.log" .
vexor -C . --table main server-ffa-ctf.log client-console.log
man -w vexor vexor-gui
[ -f /usr/share/vexor/help/index.html ]
# The desktop program from the installed files, offscreen, on a sample and on a missing log.
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox
vexor-gui -C gui --screen logged-data --quit-after-load server-ffa-ctf.log
if vexor-gui -C gui --quit-after-load missing.log; then
  echo "vexor-gui reported a failed load as a success"
  exit 1
fi
rm -rf "$work"
echo "package ok"
