#!/usr/bin/env bash
# Runs every input of a folder with two builds of ostrel-cli side by side, one process per input,
# and compares them: the bytes of every file each writes (same seed, SOURCE_DATE_EPOCH=0) and
# the total time and processor time (user and system, which other work on the machine disturbs
# less) of each build. The two builds take turns input by input, and which goes first alternates
# from round to round, so that the load of the machine falls on both alike.
#
# Usage: bench/compare_runs.sh OLD_CLI NEW_CLI INPUT_FOLDER [ROUNDS]
#   RUN_OPTIONS  options of every run (default: the default settings with the OFF file alone)
#   SEED         the seed of every run (default 1)
#   WORK         folder for the written files (default: a fresh one below /tmp, kept)
# Exits 1 when any written file or message differs.
set -euo pipefail

if [[ $# -lt 3 ]]; then
  sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
fi
old_cli=$(realpath "$1")
new_cli=$(realpath "$2")
inputs=$(realpath "$3")
rounds=${4:-1}
seed=${SEED:-1}
options=${RUN_OPTIONS---set SolidVRML=0 --set FrameVRML=0 --set SwitchVRML=0 --set AnimVRML=0 --set CylVRML=0}
work=${WORK:-$(mktemp -d /tmp/ostrel-compare-XXXXXX)}
export SOURCE_DATE_EPOCH=0

declare -A total=([old]=0 [new]=0)
declare -A cpu=([old]=0 [new]=0)
count=0

# Runs build $1 (old or new) on input $2 and adds the time of its process and its processor
# time (user and system), in microseconds, to total[$1] and cpu[$1].
run_one() {
  local which=$1 input=$2 cli name times
  cli=$old_cli
  [[ $which == new ]] && cli=$new_cli
  name=$(basename "${input%.*}")
  rm -rf "$work/$which/$name"
  mkdir -p "$work/$which/$name"
  # shellcheck disable=SC2086 # the options are words
  (set +e; cd "$work/$which" || exit 1; TIMEFORMAT='%3R %3U %3S'
    { time "$cli" run "$input" -o "$name" --seed "$seed" -q $options \
      > "$name/messages.txt" 2>&1; } 2> "$work/$which.time"
    echo "exit $?" >> "$name/messages.txt")
  times=$(awk '{ printf "%d %d", $1 * 1e6, ($2 + $3) * 1e6 }' "$work/$which.time")
  total[$which]=$((total[$which] + ${times% *}))
  cpu[$which]=$((cpu[$which] + ${times#* }))
  rm -f "$work/$which.time"
}

for ((round = 1; round <= rounds; ++round)); do
  for input in "$inputs"/*.txt "$inputs"/*.off; do
    [[ -e $input ]] || continue
    if ((round % 2 == 1)); then
      run_one old "$input"
      run_one new "$input"
    else
      run_one new "$input"
      run_one old "$input"
    fi
    ((++count))
  done
done

printf 'inputs: %d runs each (%d rounds), seed %s, files in %s\n' "$count" "$rounds" "$seed" "$work"
awk -v old="${total[old]}" -v new="${total[new]}" -v old_cpu="${cpu[old]}" \
  -v new_cpu="${cpu[new]}" 'BEGIN {
    printf "time:           old %.2f s, new %.2f s, new / old %.3f\n", old / 1e6, new / 1e6, new / old
    printf "processor time: old %.2f s, new %.2f s, new / old %.3f\n", old_cpu / 1e6,
      new_cpu / 1e6, new_cpu / old_cpu }'
if diff -r "$work/old" "$work/new" > "$work/differences.txt"; then
  echo "written files: identical"
else
  echo "written files: DIFFERENT (see $work/differences.txt)"
  exit 1
fi
