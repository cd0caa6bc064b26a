#!/usr/bin/env bash
# A fuzzing campaign outside CI: every fuzz target of the sanitizer build runs
# for the given time from all its seeds, then what it found that adds coverage
# is merged into its committed corpus (tests/fuzz/corpus/<target>/). Crashes,
# leaks and time-outs are kept in build-asan/fuzz-campaign/findings/.
#
#   scripts/fuzz-campaign.sh [SECONDS_PER_TARGET] [TARGET...]
#
# Needs the sanitizer build (`make test` makes it). Prints one table row per
# target: seconds, executions per second, coverage (libFuzzer's "cov"
# counters), new corpus entries, findings.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-asan"
seconds="${1:-600}"
shift || true

if [ ! -d "$build/tests" ]; then
  echo "fuzz-campaign: no sanitizer build in $build; run 'make test' first" >&2
  exit 1
fi
cmake --build "$build" -j "$(nproc)" >/dev/null

targets=("$@")
if ((${#targets[@]} == 0)); then
  for source in "$root"/tests/fuzz/*_fuzz.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi

game="$build/game"
seeds_of() {
  case "$1" in
    FXMLLoader_fuzz) echo "$root/content/Interface" ;;
    FLoader_fuzz) echo "$game/Models" ;;
    FFonts_fuzz) echo "$game/Fonts" ;;
    FTga_fuzz) echo "$game/Textures/Icons $game/Textures/Shared $game/Textures/Cursor" ;;
    FNetwork_fuzz) echo "$build/tests/fuzz-seeds/FNetwork_fuzz" ;;
    *) echo "" ;;
  esac
}

campaign="$build/fuzz-campaign"
mkdir -p "$campaign/findings"
printf '%-22s %8s %10s %8s %12s %9s\n' target seconds execs/s cov new-corpus findings
for target in "${targets[@]}"; do
  binary="$build/tests/$target"
  [ -x "$binary" ] || { echo "fuzz-campaign: no $binary" >&2; continue; }
  work="$campaign/$target"
  rm -rf "$work"
  mkdir -p "$work/found" "$work/scratch"
  committed="$root/tests/fuzz/corpus/$target"
  mkdir -p "$committed"
  dict=()
  [ -f "$root/tests/fuzz/$target.dict" ] && dict=(-dict="$root/tests/fuzz/$target.dict")
  before=$(find "$committed" -type f | wc -l)
  # The scratch folder is the target's whole world: its log, files it writes, crash files.
  # shellcheck disable=SC2046
  (cd "$work/scratch" && "$binary" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$campaign/findings/$target-" "${dict[@]}" \
      "$work/found" $(seeds_of "$target") "$committed" >"$work/run.log" 2>&1) || true
  # Keep only what adds coverage to what is committed already.
  (cd "$work/scratch" && "$binary" -merge=1 "${dict[@]}" "$committed" "$work/found" >"$work/merge.log" 2>&1) || true
  after=$(find "$committed" -type f | wc -l)
  execs=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$work/run.log" | awk '{print $2}')
  cov=$(grep -o 'cov: [0-9]*' "$work/run.log" | tail -1 | awk '{print $2}')
  findings=$(find "$campaign/findings" -name "$target-*" -type f | wc -l)
  printf '%-22s %8s %10s %8s %12s %9s\n' "$target" "$seconds" "${execs:-?}" "${cov:-?}" "$((after - before))" "$findings"
done
