#!/bin/bash
# What lumora-cli costs before a command does its work: the shared libraries it loads, and the wall
# and CPU time of `versions` (a few small reads) and `--help` (none), beside a process that does
# nothing and a bare Qt Core program, which are the floor on this machine.
#
#   bash bench/startup.sh [BUILD_DIR [DATA_DIR [RUNS]]]
#
# DATA_DIR defaults to a demo folder built once in /tmp. Figures come from `perf stat` when it
# works, else from the shell's clock and getrusage over RUNS runs (default 50).
set -euo pipefail
build=$(realpath "${1:-build}")
data=${2:-/tmp/lumora-bench-demo}
runs=${3:-50}
cli="$build/lumora-cli"
[ -d "$data/Bible" ] || "$cli" --data "$data" demo >/dev/null 2>&1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'int main() { return 0; }\n' >"$work/empty.cpp"
g++ -O2 "$work/empty.cpp" -o "$work/empty"
printf '#include <QCoreApplication>\nint main(int c, char** v) { QCoreApplication a(c, v); return 0; }\n' >"$work/qt.cpp"
# shellcheck disable=SC2046
g++ -O2 -fPIC "$work/qt.cpp" -o "$work/qtcore" $(pkg-config --cflags --libs Qt6Core)

# Prints "wall ms  cpu ms" per run of the command.
measure() {
    if perf stat -r 1 true >/dev/null 2>&1; then
        perf stat -x, -r "$runs" "$@" 2>&1 >/dev/null |
            awk -F, '/task-clock/ { cpu = $1 } END { printf "%8.2f", cpu }'
        local wall
        wall=$( { /usr/bin/time -f %e bash -c 'for ((i = 0; i < '"$runs"'; i++)); do "$@" >/dev/null 2>&1; done' _ "$@"; } 2>&1 )
        awk -v w="$wall" -v n="$runs" 'BEGIN { printf "%10.2f\n", w * 1000 / n }'
    else
        /usr/bin/time -f '%U %S %e' bash -c 'for ((i = 0; i < '"$runs"'; i++)); do "$@" >/dev/null 2>&1; done' _ "$@" 2>&1 |
            awk -v n="$runs" '{ printf "%8.2f%10.2f\n", ($1 + $2) * 1000 / n, $3 * 1000 / n }'
    fi
}

echo "shared libraries of lumora-cli: $(ldd "$cli" | grep -vc 'linux-vdso')"
echo "                                       cpu ms   wall ms (mean of $runs runs)"
printf '%-38s' "empty C++ program";                measure "$work/empty"
printf '%-38s' "Qt Core program (QCoreApplication)"; measure "$work/qtcore"
printf '%-38s' "lumora-cli --help";                measure "$cli" --help
printf '%-38s' "lumora-cli versions";              measure "$cli" --data "$data" versions
