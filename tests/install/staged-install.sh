#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR) under the prefix /usr, compares the
# installed files with the expected list, checks the desktop entry and the AppStream metadata,
# and runs the installed programs from the staged tree.
# Usage: staged-install.sh BUILD_DIR SOURCE_DIR WORK_DIR
set -euo pipefail
build=$1
source=$2
work=$3

rm -rf "$work"
mkdir -p "$work"
root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log"

(cd "$root" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort) >"$work/files.txt"
if ! diff -u "$source/tests/install/expected-files.txt" "$work/files.txt"; then
  echo "the installed files differ from tests/install/expected-files.txt"
  exit 1
fi

desktop-file-validate "$root/usr/share/applications/org.vexor.Vexor.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.vexor.Vexor.metainfo.xml" >/dev/null
# Every hicolor picture has the size its folder names.
for png in "$root"/usr/share/icons/hicolor/*x*/apps/vexor.png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  file "$png" | grep -q "${size/x/ x }," || { echo "$png is not $size"; exit 1; }
done

# The installed programs run from the staged tree, with nothing of the build around them.
"$root/usr/bin/vexor" --version | grep -q '^vexor 1\.40 '
"$root/usr/bin/vexor-gui" --version | grep -q '^vexor-gui 1\.40 '
mkdir -p "$work/start"
cp "$source/samples/server-ffa-ctf.log" "$work/games.log"
(cd "$work" && "$root/usr/bin/vexor" -C start --table main games.log >out.txt)
grep -qE '^Loaded +[1-9][0-9]* players and +9 games from  1 log file\.$' "$work/out.txt"
grep -q '^NAME ' "$work/out.txt"
[ -s "$work/start/html/games.htm" ] || { echo "no report written"; exit 1; }
echo "staged install ok: $(wc -l <"$work/files.txt") files"
