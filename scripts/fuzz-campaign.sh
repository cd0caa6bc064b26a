#!/usr/bin/env bash
# A fuzzing campaign outside CI: every fuzz target of the sanitizer build runs
# for the given time from all its seeds, then its committed corpus
# (tests/fuzz/corpus/<target>/) is made again from what it held and what the
# run found: the fewest inputs that reach all their coverage beyond the seeds',
# none over 16 KiB, beside the named inputs written by hand, which stay.
# Crashes, leaks and time-outs are kept in build-asan/fuzz-campaign/findings/.
#
#   scripts/fuzz-campaign.sh [SECONDS_PER_TARGET] [TARGET...]
#
# 0 seconds only remakes the corpora from what they hold.
#
# Every tests/fuzz/*_fuzz.cpp is a target unless some are named. FUZZ_JOBS
# targets run at once (1 unless told), each at the lowest priority. Needs the
# sanitizer build and the normal build's game folder, whose content seeds the
# targets (`make test` makes both). Prints one table row per target: seconds,
# executions per second, coverage (libFuzzer's "cov" counters), corpus entries
# added, findings.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-asan"
game="$root/build/game"
seconds="${1:-600}"
shift || true
jobs="${FUZZ_JOBS:-1}"

if [ ! -d "$build/tests" ]; then
  echo "fuzz-campaign: no sanitizer build in $build; run 'make test' first" >&2
  exit 1
fi
[ -d "$game" ] || echo "fuzz-campaign: no $game; the targets that read built content start without it" >&2

targets=("$@")
if ((${#targets[@]} == 0)); then
  for source in "$root"/tests/fuzz/*_fuzz.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi
cmake --build "$build" -j "$(nproc)" --target vrax_fuzz_seeds "${targets[@]}" >/dev/null

seeds_of() {
  case "$1" in
    FXMLLoader_fuzz) echo "$root/content/Interface" ;;
    FLoadMap_fuzz) echo "$root/content/Maps" ;;
    FLoader_fuzz) echo "$game/Models" ;;
    FFonts_fuzz) echo "$game/Fonts" ;;
    FTga_fuzz) echo "$game/Textures/Icons $game/Textures/Shared $game/Textures/Cursor" ;;
    FNetwork_fuzz) echo "$build/tests/fuzz-seeds/FNetwork_fuzz" ;;
    *) echo "" ;;
  esac
}

campaign="$build/fuzz-campaign"
found_name='.*/[0-9a-f]{40}'  # what libFuzzer names the inputs it finds
mkdir -p "$campaign/findings"

# One target: its run, the corpus made again, its table row in $work/row.
fuzz_one() {
  local target="$1" binary="$build/tests/$1" work="$campaign/$1"
  local committed="$root/tests/fuzz/corpus/$target"
  rm -rf "$work"
  mkdir -p "$work/found" "$work/scratch" "$work/merged" "$committed"
  local dict=()
  [ -f "$root/tests/fuzz/$target.dict" ] && dict=(-dict="$root/tests/fuzz/$target.dict")
  local seeds=()
  # shellcheck disable=SC2207
  seeds=($(for s in $(seeds_of "$target"); do [ -d "$s" ] && echo "$s"; done))
  # The scratch folder is the target's whole world: its log, files it writes, crash files.
  # At the lowest priority on a busy machine one input may wait long: a minute is a hang.
  : >"$work/run.log"
  if ((seconds > 0)); then
    (cd "$work/scratch" && nice -n 19 "$binary" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=60 \
        -print_final_stats=1 -artifact_prefix="$campaign/findings/$target-" "${dict[@]}" \
        "$work/found" "${seeds[@]}" "$committed" >"$work/run.log" 2>&1) || true
  fi
  # The seeds go first so that only what reaches further is kept, then leave again.
  # Named files in the corpus were written by hand (one per script function, the
  # test snippets): they go first too, and stay.
  local s
  for s in "${seeds[@]}"; do
    find "$s" -type f -exec cp {} "$work/merged/" \;
  done
  find "$work/merged" -type f -printf '%f\n' | sort >"$work/seed-names"
  find "$committed" -type f -regextype egrep ! -regex "$found_name" -exec cp {} "$work/merged/" \;
  (cd "$work/scratch" && nice -n 19 "$binary" -merge=1 -rss_limit_mb=2048 -timeout=60 "${dict[@]}" \
      "$work/merged" "$committed" "$work/found" >"$work/merge.log" 2>&1) || true
  local added=0 name
  if grep -q 'MERGE-OUTER: .* new files' "$work/merge.log"; then
    while read -r name; do rm -f "$work/merged/$name"; done <"$work/seed-names"
    # Big finds are near copies of the built models and fonts every run reads anyway.
    find "$work/merged" -type f -regextype egrep -regex "$found_name" -size +16k -delete
    added=$(find "$work/merged" -type f -printf '%f\n' | sort | comm -23 - \
      <(find "$committed" -type f -printf '%f\n' | sort) | wc -l)
    rm -rf "$committed"
    mkdir -p "$committed"
    find "$work/merged" -type f -exec cp {} "$committed/" \;
  else
    echo "fuzz-campaign: $target: the merge failed, its corpus is left as it was (see $work/merge.log)" >&2
  fi
  local execs cov findings
  execs=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$work/run.log" | awk '{print $2}')
  cov=$(grep -o 'cov: [0-9]*' "$work/run.log" | tail -1 | awk '{print $2}')
  findings=$(find "$campaign/findings" -name "$target-*" -type f | wc -l)
  printf '%-22s %8s %10s %8s %12s %9s\n' "$target" "$seconds" "${execs:-?}" "${cov:-?}" "$added" "$findings" \
    >"$work/row"
}

running=0
for target in "${targets[@]}"; do
  if [ ! -x "$build/tests/$target" ]; then
    echo "fuzz-campaign: no $build/tests/$target" >&2
    continue
  fi
  fuzz_one "$target" &
  running=$((running + 1))
  if ((running >= jobs)); then
    wait -n || true
    running=$((running - 1))
  fi
done
wait || true

printf '%-22s %8s %10s %8s %12s %9s\n' target seconds execs/s cov new-corpus findings
for target in "${targets[@]}"; do
  cat "$campaign/$target/row" 2>/dev/null || true
done
