#!/usr/bin/env bash
# `vexor --site` on every real log in tests/data/reallogs: each load that succeeds must give a
# complete site (every player's and listed game's page), written without a message; a log that
# does not load (a client log without games) must say why and leave no site behind.
#   tests/site-real-logs.sh VEXOR REALLOGS_FOLDER
set -euo pipefail
vexor=$1
logs=$2
[ -d "$logs" ] || { echo "no real logs at $logs" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
count=0
for log in "$logs"/*.log; do
  name=$(basename "$log")
  count=$((count + 1))
  site="$work/$name-site"
  status=0
  "$vexor" -q -C "$work" --no-report --json "$work/$name.json" --site "$site" "$log" \
    2>"$work/errors" || status=$?
  if [ "$status" -ne 0 ]; then
    if [ -e "$site" ] || [ ! -s "$work/errors" ]; then
      echo "FAIL $name: exit $status without a message, or with a site"; failed=1
    else
      echo "ok   $name: not loaded ($(head -n 1 "$work/errors"))"
    fi
    continue
  fi
  players=$(grep -o '"nameCount":[0-9]*' "$work/$name.json" | cut -d: -f2)
  games=$(grep -o '"displayedGameCount":[0-9]*' "$work/$name.json" | cut -d: -f2)
  pages=$(find "$site/players" -name 'p*.html' | wc -l)
  game_pages=$(find "$site/games" -name 'g*.html' | wc -l)
  if [ -s "$work/errors" ] || [ ! -s "$site/index.html" ] || [ "$pages" -ne "$players" ] ||
     [ "$game_pages" -ne "$games" ]; then
    echo "FAIL $name: $pages of $players player pages, $game_pages of $games game pages"
    cat "$work/errors"
    failed=1
  else
    echo "ok   $name: $players players, $games games"
  fi
done
[ "$count" -gt 0 ] || { echo "no .log file in $logs" >&2; exit 1; }
exit $failed
