#!/usr/bin/env bash
# Builds everything and runs all the tests.
#   ./test.sh                               plain build
#   ./test.sh --sanitize=address,undefined  the same tests under ASan and UBSan
#   ./test.sh --sanitize=thread             the same tests under TSan
set -euo pipefail
cd "$(dirname "$0")"

sanitize=""
for arg in "$@"; do
    case "$arg" in
        --sanitize=*) sanitize="${arg#--sanitize=}" ;;
        *) echo "usage: ./test.sh [--sanitize=address,undefined|thread]" >&2; exit 2 ;;
    esac
done

scripts/setup.sh

build_dir=build
[ -n "$sanitize" ] && build_dir="build-${sanitize//,/-}"
cmake -S . -B "$build_dir" -DSONORIA_SANITIZE="$sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# Qt is not built with the sanitizer: only races seen from our own code count.
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1}"

run=()
# Newer kernels randomise mappings more than this TSan runtime accepts.
if [ "$sanitize" = "thread" ] && command -v setarch >/dev/null; then
    run=(setarch "$(uname -m)" -R)
fi
"${run[@]}" ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)"
