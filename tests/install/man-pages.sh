#!/usr/bin/env bash
# Fails when an option that "PROGRAM --help" shows is missing from the man page MANPAGE.
# Usage: man-pages.sh PROGRAM MANPAGE
set -euo pipefail
program=$1
page=$2

help=$("$program" --help)
# The options of the help text: "-C", "--open" ... where an option is named (after a blank, a
# comma, "[" or "|"), not the hyphens inside words such as "client-side".
options=$(grep -oE '(^|[ ,[|])--?[A-Za-z][A-Za-z-]*' <<<"$help" | sed -E 's/^[ ,[|]//' | sort -u)
[ -n "$options" ] || { echo "no options found in $program --help"; exit 1; }
# The page as text: roff's "\-" is a hyphen, font changes are dropped.
text=$(sed -E 's/\\-/-/g; s/\\f[BIRP]//g' "$page")
missing=0
for option in $options; do
  if ! grep -qE -- "(^|[^A-Za-z-])${option}([^A-Za-z-]|$)" <<<"$text"; then
    echo "$page does not describe $option (shown by $program --help)"
    missing=1
  fi
done
exit $missing
