# What the comparison scripts share: where the programs they time are built, the tools they need, and
# how they read times. Sourced (". compare_support.sh"), not run.

# The checkout this file belongs to.
root=$(dirname "${BASH_SOURCE[0]}")/..

# The path of $1 (relative to a build tree: bench/id3_bench, src/morva-cli) in the build tree $2 when
# one is given, else in the optimised tree of `make bench` (build-bench) when it is built there, else in
# build.
built_path() {
  if [ -n "${2:-}" ]; then
    echo "$2/$1"
  elif [ -x "$root/build-bench/$1" ]; then
    echo "$root/build-bench/$1"
  else
    echo "$root/build/$1"
  fi
}

# Stops the script when the program $1 has not been built.
require_built() {
  if [ ! -x "$1" ]; then
    echo "$1: not built (make bench)"
    exit 1
  fi
}

# True when the command $1 is installed; otherwise says which package ($2) brings it, and then $3 (what
# the script does without it), and is false.
have_tool() {
  command -v "$1" >/dev/null 2>&1 && return 0
  echo "$1: not installed (sudo apt-get install $2)${3:+; $3}"
  return 1
}

# The milliseconds between two readings of `date +%s.%N`.
elapsed_ms() { echo "($2 - $1) * 1000" | bc -l; }

# The real time in the benchmark's time unit of the first row of Google Benchmark's CSV (name,iterations,
# real_time,cpu_time,time_unit,...) whose name starts with "$1/", from the benchmark program run as
# "${@:2}" --benchmark_format=csv. Empty when the program fails.
benchmark_time() {
  local name=$1
  shift
  "$@" --benchmark_format=csv 2>/dev/null | awk -F, -v name="\"$name/" 'index($1, name) == 1 { print $3; exit }'
}
