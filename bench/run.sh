#!/usr/bin/env bash
# The benchmark driver (make bench): generates logs at the limits and of a clan server's season,
# runs vexor on them and prints, for every step, its wall time, its peak memory, the input's
# size and the ratio of its time to a reference run made in the same invocation (reading the
# same input twice with wc -l; cp for saving). Ratios are the figures to quote: the machines
# are shared and noisy, so every step runs several times and the median is printed.
#
#   bench/run.sh [BUILD_DIR]            every scenario (BUILD_DIR default: build)
#   bench/run.sh --smoke [BUILD_DIR]    tiny logs, one run each: checks that the driver works
#
# Environment: BENCH_DIR (work folder, default BUILD_DIR/bench-data; needs about 6 GB),
# BENCH_REPEAT (runs per step, default 3), BENCH_SCENARIOS (default "max typical client
# save-open families second").
set -euo pipefail

smoke=0
if [ "${1:-}" = "--smoke" ]; then
  smoke=1
  shift
fi
build=$(cd "${1:-build}" && pwd)
vexor="$build/src/vexor"
loggen="$build/bench/vexor-loggen"
progressbench="$build/bench/vexor-progressbench"
listbench="$build/bench/vexor-listbench"
graphbench="$build/bench/vexor-graphbench"
parsebench="$build/bench/vexor-parsebench"
for program in "$vexor" "$loggen" "$progressbench" "$listbench" "$graphbench" "$parsebench"; do
  [ -x "$program" ] || { echo "bench: $program is missing; build first (make build)" >&2; exit 2; }
done
work="${BENCH_DIR:-$build/bench-data}"
repeat="${BENCH_REPEAT:-3}"
scenarios="${BENCH_SCENARIOS:-max typical client save-open families second}"
list_runs=7
graph_runs=9
if [ $smoke = 1 ]; then
  work="${BENCH_DIR:-$build/bench-smoke}"
  repeat=1
  list_runs=1
  graph_runs=1
fi
mkdir -p "$work"
cd "$work"
results="$work/results.txt"
: >"$results"

# Sizes. The max log: 4995 games (the most one file may hold) on a server with 2490 regular
# players; with the names that two clients of one name add (Bob_1) the log holds 2495 names,
# the most one file may hold. About 16 players and 300 kills a game.
# The other families' logs write no second client under one name, so their pool is the
# 2495 names itself.
if [ $smoke = 1 ]; then
  max_args=(--games 30 --players 60 --per-game 16 --kills 300)
  typical_args=(--games 10 --players 40 --per-game 10 --kills 120)
  follow_args=(--games 10 --players 40 --per-game 10 --kills 120)
  client_args=(--games 30 --players 60 --per-game 16 --kills 300 --renames 0)
  family_args=(--games 30 --players 60 --per-game 16 --kills 300)
  second_args=(--games 30 --players 60 --per-game 16 --kills 250 --noise 2)
  second_client_args=(--games 30 --players 60 --per-game 16 --kills 300 --renames 0 --noise 2)
else
  max_args=(--games 4995 --players 2490 --per-game 16 --kills 300)
  typical_args=(--games 100 --players 200 --per-game 10 --kills 120)
  # A typical server's log of about 10 MB: a few months of a public server.
  follow_args=(--games 470 --players 200 --per-game 10 --kills 120)
  client_args=(--games 4995 --players 2490 --per-game 16 --kills 300 --renames 0)
  family_args=(--games 4995 --players 2495 --per-game 16 --kills 300)
  # The second workload: the same limits made otherwise (docs/PERFORMANCE.md): 250 kills a
  # game among heavy noise, and crowded variables (many definitions on few texts).
  second_args=(--games 4995 --players 2490 --per-game 16 --kills 250 --noise 2)
  second_client_args=(--games 4995 --players 2490 --per-game 16 --kills 300 --renames 0 --noise 2)
fi

# --- Measuring -------------------------------------------------------------------------------

peak_available=0
[ -x /usr/bin/time ] && peak_available=1

# timed COMMAND...: runs the command with its output discarded; prints "seconds peak-KB
# cpu-seconds" (user and system time: on a busy machine a steadier measure than the wall
# clock). A failed command stops the benchmark with its messages.
timed() {
  local log="$work/last-command.txt"
  # What earlier steps wrote is flushed first: else the measured command pays for writing it
  # back while it takes memory (up to 0.7 s of system time after a report of 1.8 GB), and the
  # figures depend on the order of the steps.
  sync
  local start=$EPOCHREALTIME end peak="-" cpu="-"
  if [ $peak_available = 1 ]; then
    /usr/bin/time -f "%M %U %S" -o "$work/last-peak.txt" "$@" >"$log" 2>&1 ||
      { echo "bench: failed: $*" >&2; cat "$log" >&2; exit 1; }
    end=$EPOCHREALTIME
    read -r peak user system < <(tail -n 1 "$work/last-peak.txt")
    cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
  else
    "$@" >"$log" 2>&1 || { echo "bench: failed: $*" >&2; cat "$log" >&2; exit 1; }
    end=$EPOCHREALTIME
  fi
  awk -v s="$start" -v e="$end" -v p="$peak" -v c="$cpu" 'BEGIN { printf "%.3f %s %s\n", e - s, p, c }'
}

# Fields of timed's output.
wall_of() { echo "$1" | cut -d ' ' -f 1; }
peak_of() { echo "$1" | cut -d ' ' -f 2; }
cpu_of() { echo "$1" | cut -d ' ' -f 3; }

median() { tr ' ' '\n' | grep . | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
largest() { tr ' ' '\n' | grep . | sort -g | tail -n 1; }

bytes_of() { du -cb "$@" | tail -n 1 | cut -f 1; }

# The reference of a step that reads files: wc -l over them, twice (a command, for time).
read_twice=(sh -c 'wc -l "$@" >/dev/null && wc -l "$@" >/dev/null' read-twice)
fields_twice=(sh -c 'for pass in 1 2; do awk "{ n += NF } END { print n }" "$@" >/dev/null; done' fields-twice)

printf '%-10s %-28s %9s %9s %9s %7s %7s %9s %9s  %s\n' scenario step "input MB" "vexor s" \
  "ref s" ratio target "peak MB" "cpu ratio" verdict | tee -a "$results"

# row SCENARIO STEP INPUT_BYTES TARGET_RATIO TARGET_PEAK_MB PREPARE -- REFERENCE... -- COMMAND...
# Runs reference and command alternately BENCH_REPEAT times (PREPARE, a shell command, before
# each run of the command) and prints one line of the table. A target of "-" is none. The
# command's median time is left in row_seconds.
row() {
  local scenario=$1 step=$2 input=$3 target=$4 peak_target=$5 prepare=$6
  shift 6
  [ "$1" = "--" ] && shift
  local reference=()
  while [ "$1" != "--" ]; do reference+=("$1"); shift; done
  shift
  local times="" refs="" ratios="" peaks="" cpus=""
  for _ in $(seq "$repeat"); do
    local r c
    r=$(timed "${reference[@]}")
    eval "$prepare"
    c=$(timed "$@")
    times+=" $(wall_of "$c")"
    refs+=" $(wall_of "$r")"
    peaks+=" $(peak_of "$c")"
    ratios+=" $(ratio "$(wall_of "$c")" "$(wall_of "$r")")"
    cpus+=" $(ratio "$(cpu_of "$c")" "$(cpu_of "$r")")"
  done
  row_seconds=$(echo $times | median)
  print_row "$scenario" "$step" "$input" "$target" "$peak_target" \
    "$row_seconds" "$(echo $refs | median)" "$(echo $ratios | median)" \
    "$(echo $peaks | largest)" "$(echo $cpus | median)"
}

# part_row SCENARIO STEP TARGET FOLDER [OUTPUT] -- WITHOUT... -- WITH...: the part of a command
# that writes FOLDER/OUTPUT (default html, the report). Runs BENCH_REPEAT times: cp -r of
# FOLDER/html (the report the last run wrote) into a folder deleted 1.2 s before, the command
# without its output and the command with it (FOLDER/OUTPUT removed first);
# prints (with - without) against the copy, medians of each, and the CPU time alike; each run's
# seconds go to the results file on a line of their own.
part_row() {
  local scenario=$1 step=$2 target=$3 folder=$4 output=html
  shift 4
  if [ "$1" != "--" ]; then output=$1; shift; fi
  [ "$1" = "--" ] && shift
  local without_cmd=()
  while [ "$1" != "--" ]; do without_cmd+=("$1"); shift; done
  shift
  local with="" without="" copies="" peaks="" cpus="" c a b
  [ -d "$folder/html" ] || { rm -rf "$folder/html"; "$@" >/dev/null 2>&1; }
  for _ in $(seq "$repeat"); do
    # Both writers go into a folder deleted a second or more before: the report after the load,
    # the copy after a pause. This file system makes new files beside files deleted within the
    # last minute slowly, but not beside those deleted within the same second; without the
    # pause the copy would have that advantage.
    rm -rf "$folder/html-copy"
    sleep 1.2
    c=$(timed cp -r "$folder/html" "$folder/html-copy")
    copies+=" $(wall_of "$c")"
    a=$(timed "${without_cmd[@]}")
    without+=" $(wall_of "$a")"
    rm -rf "${folder:?}/$output"
    b=$(timed "$@")
    with+=" $(wall_of "$b")"
    peaks+=" $(peak_of "$b")"
    cpus+=" $(ratio "$(awk -v x="$(cpu_of "$b")" -v y="$(cpu_of "$a")" 'BEGIN { print x - y }')" \
      "$(cpu_of "$c")")"
  done
  rm -rf "$folder/html-copy"
  local part t_copy
  part=$(awk -v a="$(echo $with | median)" -v b="$(echo $without | median)" \
    'BEGIN { printf "%.3f", a - b }')
  t_copy=$(echo $copies | median)
  print_row "$scenario" "$step" "$(bytes_of "$folder/$output")" "$target" - "$part" "$t_copy" \
    "$(ratio "$part" "$t_copy")" "$(echo $peaks | largest)" "$(echo $cpus | median)"
  # The file system swings these rows from run to run: each run's seconds go to the results file.
  echo "           (each run: copy$copies; without$without; with$with)" >>"$results"
}

# ratio A B: A / B with two decimals; "-" when either is unknown or B is 0.
ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-" || b == "-" || b + 0 <= 0) print "-";
                                   else printf "%.2f", a / b }'
}

join_words() {
  local out="" word
  for word in "$@"; do out+="${out:+, }$word"; done
  echo "$out"
}

# print_row SCENARIO STEP INPUT_BYTES TARGET PEAK_TARGET SECONDS REF_SECONDS RATIO PEAK_KB
#   CPU_RATIO
print_row() {
  local verdict=() peak_mb="-"
  if [ "$9" != "-" ]; then peak_mb=$(awk -v k="$9" 'BEGIN { printf "%.0f", k / 1024 }'); fi
  if [ "$4" != "-" ]; then
    verdict+=("$(awk -v r="$8" -v t="$4" 'BEGIN { print (r <= t ? "time met" : "time NOT met") }')")
  fi
  if [ "$5" != "-" ] && [ "$peak_mb" != "-" ]; then
    verdict+=("$(awk -v m="$peak_mb" -v t="$5" 'BEGIN { print (m <= t ? "memory met" : "memory NOT met") }')")
  fi
  printf '%-10s %-28s %9.1f %9.2f %9.2f %7.2f %7s %9s %9s  %s\n' "$1" "$2" \
    "$(awk -v b="$3" 'BEGIN { print b / 1048576 }')" "$6" "$7" "$8" \
    "$([ "$4" = "-" ] && echo - || echo "<=$4")" "$peak_mb" "${10}" \
    "$(join_words "${verdict[@]}")" | tee -a "$results"
}

# progress_row SCENARIO STEP INPUT_BYTES FOLDER LOG_AND_OPTIONS...: one load through the
# operations layer with a progress that notes the time of every call (vexor-progressbench, in
# FOLDER, removed afterwards); prints the largest gap between two calls in seconds against the
# target of 0.2 s (a progress box that moves at least 5 times a second), with the calls a second
# and the step in which the largest gap ended.
progress_row() {
  local scenario=$1 step=$2 input=$3 folder=$4
  shift 4
  local out gap rate where
  rm -rf "$folder"
  mkdir -p "$folder"
  out=$("$progressbench" -C "$folder" "$@") ||
    { echo "bench: failed: $progressbench -C $folder $*" >&2; exit 1; }
  rm -rf "$folder"
  read -r _ gap _ rate _ _ _ _ _ where <<<"$out"
  local seconds verdict
  seconds=$(awk -v g="$gap" 'BEGIN { printf "%.3f", g / 1000 }')
  verdict=$(awk -v s="$seconds" 'BEGIN { print (s <= 0.2 ? "gap met" : "gap NOT met") }')
  printf '%-10s %-28s %9.1f %9s %9s %7s %7s %9s %9s  %s\n' "$scenario" "$step" \
    "$(awk -v b="$input" 'BEGIN { print b / 1048576 }')" "$seconds" - - "<=0.2" - - \
    "$verdict ($rate calls/s, largest in $where)" | tee -a "$results"
}

# parse_row SCENARIO LOG [OPTIONS...]: the line parsers of both passes over the log on one
# thread, writing nothing into a document (vexor-parsebench), against the load's reference: the
# floor under the load's row above, which shares this work and what it writes over two threads.
parse_row() {
  local scenario=$1 log=$2
  shift 2
  row "$scenario" "  (parsing alone, one thread)" "$(bytes_of "$log")" - - "" -- \
    "${read_twice[@]}" "$log" -- "$parsebench" "$@" "$log"
}

# budget_row SCENARIO STEP BUDGET PROGRAM RUNS KEY LOG [OPTIONS...]: a step of the desktop
# program whose target is a time, not a ratio: PROGRAM loads LOG once, times RUNS rounds and prints
# "KEY SECONDS" (the median); "ref s" shows the budget and the ratio must be at most 1.
#   vexor-listbench: both statistics lists filled and sorted on their sort columns (the median of
#   the slower sort column), budget 0.1 s;
#   vexor-graphbench: one paint of the chart window's 16-series cumulative graph over every game,
#   budget 0.05 s.
budget_row() {
  local scenario=$1 step=$2 budget=$3 program=$4 runs=$5 key=$6 log=$7 out seconds
  shift 7
  out=$("$program" --runs "$runs" "$@" "$log") ||
    { echo "bench: failed: $program $* $log" >&2; exit 1; }
  seconds=$(echo "$out" | awk -v key="$key" '$1 == key { print $2 }')
  print_row "$scenario" "$step" "$(bytes_of "$log")" 1 - "$seconds" "$budget" \
    "$(ratio "$seconds" "$budget")" - -
}

# same_bytes PAGE EXPECTED: PAGE holds EXPECTED's bytes, or both are missing.
same_bytes() {
  if [ -e "$2" ]; then cmp -s "$1" "$2"; else [ ! -e "$1" ]; fi
}

# wait_for PAGE EXPECTED: waits (up to a minute) until same_bytes holds; fails the benchmark else.
wait_for() {
  local tries=0
  until same_bytes "$1" "$2"; do
    tries=$((tries + 1))
    [ $tries -lt 12000 ] || { echo "bench: $1 never became $2" >&2; exit 1; }
    sleep 0.005
  done
}

# follow_row SCENARIO STEP BUDGET LOG [OPTIONS...]: vexor --follow on LOG as the server had written
# it up to its last "ShutdownGame:" line; then the rest is written at once, and the row times how
# long that game's report page takes to be on disk as a plain run over the whole log writes it
# (polled every 5 ms): the server's pause (a quarter of a second), the load and the report up to
# that page. The page is the highest-numbered one that the game's end changes. BENCH_REPEAT
# times: the log is cut back, the follower's update for the cut is let finish (its last index
# page is written last), and more than its interval (1 s) passes before the game's end is
# written again. "ref s" shows the budget.
follow_row() {
  local scenario=$1 step=$2 budget=$3 log=$4
  shift 4
  local folder="$work/follow-$scenario" prefix n="" index
  rm -rf "$folder"
  mkdir -p "$folder/before" "$folder/after" "$folder/live"
  prefix=$(grep -b "ShutdownGame:" "$log" | tail -n 1 | cut -d : -f 1)
  head -c "$prefix" "$log" >"$folder/before/games.log"
  "$vexor" -q -C "$folder/before" "$@" "$folder/before/games.log"
  "$vexor" -q -C "$folder/after" "$@" "$log"
  for n in $(ls "$folder/after/html/games" | sed -E 's/game([0-9]+)\.htm/\1/' | sort -rn); do
    same_bytes "$folder/before/html/games/game$n.htm" "$folder/after/html/games/game$n.htm" || break
  done
  index=$(ls "$folder/before/html" | grep -E '^games[0-9]*\.htm$' | sort -V | tail -n 1)
  local before="$folder/before/html/games/game$n.htm" after="$folder/after/html/games/game$n.htm"
  local live="$folder/live/html/games/game$n.htm" times="" start end
  cp "$folder/before/games.log" "$folder/live/games.log"
  "$vexor" --follow --interval 1 -q -C "$folder/live" "$@" "$folder/live/games.log" &
  local pid=$!
  for _ in $(seq "$repeat"); do
    truncate -s "$prefix" "$folder/live/games.log"
    wait_for "$live" "$before"
    wait_for "$folder/live/html/$index" "$folder/before/html/$index"
    sleep 1.5
    start=$EPOCHREALTIME
    tail -c +"$((prefix + 1))" "$log" >>"$folder/live/games.log"
    wait_for "$live" "$after"
    end=$EPOCHREALTIME
    times+=" $(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }')"
  done
  kill -TERM "$pid"
  wait "$pid" || { echo "bench: vexor --follow did not stop cleanly" >&2; exit 1; }
  local seconds
  seconds=$(echo $times | median)
  print_row "$scenario" "$step" "$(bytes_of "$log")" 1 - "$seconds" "$budget" \
    "$(ratio "$seconds" "$budget")" - -
  rm -rf "$folder"
}

# generate FILE ARGS...: writes a log once; a later run with the same arguments keeps it.
generate() {
  local file=$1
  shift
  local stamp="$file.args"
  if [ -f "$file" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$*" ]; then return; fi
  "$loggen" "$@" --out "$file" --quiet
  echo "$*" >"$stamp"
}

# --- Scenarios -------------------------------------------------------------------------------

# server_load_rows SCENARIO LOG VARIABLE-OPTIONS...: the server log's load with its variables
# and without them, each against reading the log twice (into the folder SCENARIO).
server_load_rows() {
  local scenario=$1 log=$2
  shift 2
  local size
  size=$(bytes_of "$log")
  mkdir -p "$scenario"
  row "$scenario" "load, 49+49 variables" "$size" 10 256 "" -- "${read_twice[@]}" "$log" -- \
    "$vexor" -q -C "$scenario" --no-report "$@" "$log"
  row "$scenario" "load, no variables" "$size" 6 256 "" -- "${read_twice[@]}" "$log" -- \
    "$vexor" -q -C "$scenario" --no-report "$log"
}

scenario_max() {
  generate max.log server "${max_args[@]}" --seed 1 --client-vars max-client.var \
    --server-vars max-server.var --vars 49
  local size vars=(--client-vars max-client.var --server-vars max-server.var)
  size=$(bytes_of max.log)
  server_load_rows max max.log "${vars[@]}"
  budget_row max "lists: fill+sort both" 0.1 "$listbench" "$list_runs" fill-and-sort-seconds \
    max.log -C max "${vars[@]}"
  budget_row max "graph: 16 series, 1 paint" 0.05 "$graphbench" "$graph_runs" paint-seconds \
    max.log -C max
  # What splitting every line into its fields costs by itself (mawk, twice), against the same
  # reference: a measure of the per-line work that any reading of the log's lines does.
  row max "  (awk: every line's fields)" "$size" - - "" -- "${read_twice[@]}" max.log -- \
    "${fields_twice[@]}" max.log
  parse_row max max.log "${vars[@]}"
  row max "load and report" "$size" - 256 "rm -rf max/html" -- "${read_twice[@]}" max.log -- \
    "$vexor" -q -C max "${vars[@]}" max.log
  # The report alone (the load with it less the load without it) against copying the report
  # folder it writes with cp -r: the same bytes in the same files, without computing them.
  part_row max "report (vs cp -r of it)" 1 max -- \
    "$vexor" -q -C max --no-report "${vars[@]}" max.log -- "$vexor" -q -C max "${vars[@]}" max.log
  # The web site alone against the same copy of the report: no slower than the report, which
  # is at one cp -r of itself.
  part_row max "web site (vs cp -r of report)" 1 max site -- \
    "$vexor" -q -C max --no-report "${vars[@]}" max.log -- \
    "$vexor" -q -C max --no-report "${vars[@]}" --site max/site max.log
  # How often the load with its report tells its progress (the desktop program's progress box).
  progress_row max "progress: largest gap (s)" "$size" max/progress "${vars[@]}" max.log
  # A server writing the largest legal log: the time from a game's last line to its page.
  follow_row max "follow: game end to page" 3 max.log
  # What writing the report's bytes costs by itself on this disk, against the same reference.
  local pages
  pages=$(bytes_of max/html)
  row max "  (dd of the report's MB)" "$pages" - - "rm -f max/pages.bin" -- "${read_twice[@]}" max.log -- \
    dd if=/dev/zero of=max/pages.bin bs=1M count=$((pages / 1048576)) status=none
  rm -f max/pages.bin
}

scenario_typical() {
  local logs=()
  for season in 1 2 3 4 5; do
    generate "typical-$season.log" server "${typical_args[@]}" --seed "$season" --pool-seed 500 \
      --client-vars typical-client.var --server-vars typical-server.var --vars 10
    logs+=("typical-$season.log")
  done
  mkdir -p typical
  row typical "report, CSV, data file" "$(bytes_of "${logs[@]}")" - 512 \
    "rm -rf typical/html typical/*.csv typical/*.dat" -- "${read_twice[@]}" "${logs[@]}" -- \
    "$vexor" -q -C typical --client-vars typical-client.var --server-vars typical-server.var \
    --csv typical/season.csv --game-lines --save typical/season.dat "${logs[@]}"
  generate typical-follow.log server "${follow_args[@]}" --seed 6 --pool-seed 500
  follow_row typical "follow: game end to page" 1 typical-follow.log
}

scenario_client() {
  generate client.log client "${client_args[@]}" --seed 2 --client-vars client-client.var --vars 49
  local size
  size=$(bytes_of client.log)
  mkdir -p client
  row client "load, 49 variables" "$size" 15 256 "" -- "${read_twice[@]}" client.log -- \
    "$vexor" -q -C client --no-report --client-vars client-client.var client.log
  parse_row client client.log --client-vars client-client.var
  row client "load and report" "$size" - 512 "rm -rf client/html" -- "${read_twice[@]}" client.log -- \
    "$vexor" -q -C client --client-vars client-client.var client.log
}

scenario_second() {
  generate second.log server "${second_args[@]}" --seed 7 --client-vars second-client.var \
    --server-vars second-server.var --var-style crowded
  local vars=(--client-vars second-client.var --server-vars second-server.var)
  server_load_rows second second.log "${vars[@]}"
  part_row second "report (vs cp -r of it)" 1 second -- \
    "$vexor" -q -C second --no-report "${vars[@]}" second.log -- \
    "$vexor" -q -C second "${vars[@]}" second.log
  generate second-client.log client "${second_client_args[@]}" --seed 8 \
    --client-vars second-client-log.var --var-style crowded
  local size
  size=$(bytes_of second-client.log)
  row second "client load, 49 variables" "$size" 15 256 "" -- "${read_twice[@]}" \
    second-client.log -- "$vexor" -q -C second --no-report --client-vars second-client-log.var \
    second-client.log
  parse_row second second-client.log --client-vars second-client-log.var
}

scenario_save_open() {
  generate max.log server "${max_args[@]}" --seed 1 --client-vars max-client.var \
    --server-vars max-server.var --vars 49
  mkdir -p open
  "$vexor" -q -C open --no-report --save open/max.dat max.log
  local size
  size=$(bytes_of open/max.dat)
  # Saving alone: opening and saving again, less opening alone (medians of each).
  local with="" without="" copies="" peaks="" cpus="" c a b
  for _ in $(seq "$repeat"); do
    rm -f open/copy.dat open/again.dat
    c=$(timed cp open/max.dat open/copy.dat)
    copies+=" $(wall_of "$c")"
    a=$(timed "$vexor" -q -C open --no-report --open open/max.dat)
    without+=" $(wall_of "$a")"
    b=$(timed "$vexor" -q -C open --no-report --open open/max.dat --save open/again.dat)
    with+=" $(wall_of "$b")"
    peaks+=" $(peak_of "$b")"
    cpus+=" $(ratio "$(awk -v x="$(cpu_of "$b")" -v y="$(cpu_of "$a")" 'BEGIN { print x - y }')" \
      "$(cpu_of "$c")")"
  done
  rm -f open/copy.dat open/again.dat
  local t_with t_without t_copy save
  t_with=$(echo $with | median)
  t_without=$(echo $without | median)
  t_copy=$(echo $copies | median)
  save=$(awk -v a="$t_with" -v b="$t_without" 'BEGIN { printf "%.3f", a - b }')
  print_row save-open "save (open+save - open)" "$size" 3 - "$save" "$t_copy" \
    "$(ratio "$save" "$t_copy")" "$(echo $peaks | largest)" "$(echo $cpus | median)"
  row save-open "open, no report" "$size" - 512 "" -- "${read_twice[@]}" open/max.dat -- \
    "$vexor" -q -C open --no-report --open open/max.dat
  row save-open "open and report" "$size" - 512 "rm -rf open/html" -- "${read_twice[@]}" open/max.dat -- \
    "$vexor" -q -C open --open open/max.dat
  part_row save-open "report of open (vs cp -r)" 1 open -- \
    "$vexor" -q -C open --no-report --open open/max.dat -- "$vexor" -q -C open --open open/max.dat
}

# The largest legal load of each game family Vexor reads besides Quake III (4995 games, 2495
# players), loaded like the max scenario's "load, no variables" row; and its time per line
# against the Quake III log's, measured in the same loop ("vexor s" and "ref s": seconds per
# million lines), which must be no slower.
scenario_families() {
  generate max.log server "${max_args[@]}" --seed 1 --client-vars max-client.var \
    --server-vars max-server.var --vars 49
  mkdir -p families
  local size lines quake3_per_line
  size=$(bytes_of max.log)
  lines=$(wc -l <max.log)
  row families "quake3: load, no variables" "$size" 6 256 "" -- "${read_twice[@]}" max.log -- \
    "$vexor" -q -C families --no-report max.log
  quake3_per_line=$(awk -v s="$row_seconds" -v n="$lines" 'BEGIN { printf "%.4f", s * 1e6 / n }')
  local family per_line
  for family in urt jka; do
    generate "$family-max.log" server --flavour "$family" "${family_args[@]}" --seed 1
    size=$(bytes_of "$family-max.log")
    lines=$(wc -l <"$family-max.log")
    row families "$family: load, no variables" "$size" 6 256 "" -- "${read_twice[@]}" \
      "$family-max.log" -- "$vexor" -q -C families --no-report "$family-max.log"
    per_line=$(awk -v s="$row_seconds" -v n="$lines" 'BEGIN { printf "%.4f", s * 1e6 / n }')
    print_row families "$family: s/1M lines vs quake3" "$size" 1 - "$per_line" \
      "$quake3_per_line" "$(ratio "$per_line" "$quake3_per_line")" - -
  done
}

for scenario in $scenarios; do
  case $scenario in
    max) scenario_max ;;
    typical) scenario_typical ;;
    client) scenario_client ;;
    second) scenario_second ;;
    save-open) scenario_save_open ;;
    families) scenario_families ;;
    *) echo "bench: unknown scenario $scenario" >&2; exit 2 ;;
  esac
done
echo "runs per step: $repeat; ratio: median of vexor / reference per run; results in $results"
