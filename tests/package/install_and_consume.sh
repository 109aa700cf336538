#!/usr/bin/env bash
# install_and_consume.sh BUILD SOURCE CXX: installs BUILD into a fresh prefix, builds examples/
# against it with find_package and with pkg-config (--libs and --libs --static), and checks that
# what the consumer prints equals galaxy_viewer's --export CSV and --system JSON for a classic
# spiral and a Hubble type, that bad input gets status 2 and one line, and that Python imports
# the module from the prefix. Prints "N passed, N failed" and fails on the first mismatch.
set -euo pipefail

BUILD="$1"
SOURCE="$2"
CXX="$3"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
PREFIX="$WORK/prefix"
passed=0

fail() {
    echo "FAIL: $*" >&2
    echo "$passed passed, 1 failed"
    exit 1
}
pass() {
    echo "ok: $*"
    passed=$((passed + 1))
}

cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log"
for file in bin/galaxy_viewer include/galaxy_core.h include/galaxy_core/galaxy/galaxy_code.h \
    include/galaxy_core/raylib.h lib/libgalaxy_core.a lib/galaxy_core/libraylib.a \
    lib/cmake/GalaxyCore/GalaxyCoreConfig.cmake lib/pkgconfig/galaxy_core.pc \
    share/applications/galaxy_viewer.desktop share/icons/hicolor/128x128/apps/galaxy_viewer.png; do
    [ -s "$PREFIX/$file" ] || fail "the install has no $file"
done
if [ -f "$BUILD/galaxy_viewer.1" ]; then
    grep -q 'fB\\-\\-export' "$PREFIX/share/man/man1/galaxy_viewer.1" || fail "the man page lacks --help's options"
fi
pass "installed the library, headers, package files, viewer, desktop entry and icon"

VIEWER="$PREFIX/bin/galaxy_viewer"
SPIRAL="$("$VIEWER" --seed 5 --arms 3 --curvature 12 --print-code)"
HUBBLE="$("$VIEWER" --seed 9 --type SBb --density 2 --print-code)"

# The same source, three ways: CMake's package, and pkg-config with and without --static.
cmake -S "$SOURCE/examples" -B "$WORK/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_PREFIX_PATH="$PREFIX" >"$WORK/cmake.log" || { cat "$WORK/cmake.log"; fail "configure with find_package"; }
cmake --build "$WORK/cmake" >"$WORK/build.log" || { cat "$WORK/build.log"; fail "build with find_package"; }
export PKG_CONFIG_PATH="$PREFIX/lib/pkgconfig"
# shellcheck disable=SC2046
"$CXX" -std=c++17 -O1 -c "$SOURCE/examples/galaxy_stars.cpp" $(pkg-config --cflags galaxy_core) -o "$WORK/stars.o"
# shellcheck disable=SC2046
"$CXX" "$WORK/stars.o" $(pkg-config --libs galaxy_core) -o "$WORK/stars_pc"
# shellcheck disable=SC2046
"$CXX" "$WORK/stars.o" $(pkg-config --libs --static galaxy_core) -o "$WORK/stars_pc_static"
PROGRAMS=("$WORK/cmake/galaxy_stars" "$WORK/stars_pc" "$WORK/stars_pc_static")
pass "built the consumer with find_package and with pkg-config"

for code in "$SPIRAL" "$HUBBLE"; do
    "$VIEWER" --code "$code" --export "$WORK/viewer.csv"
    "$VIEWER" --code "$code" --system 17 >"$WORK/viewer.json"
    [ "$(wc -l <"$WORK/viewer.csv")" -gt 1000 ] || fail "$code: the export holds too few stars"
    for program in "${PROGRAMS[@]}"; do
        "$program" "$code" >"$WORK/consumer.csv"
        cmp -s "$WORK/viewer.csv" "$WORK/consumer.csv" || fail "$code: $(basename "$program")'s stars differ from --export"
        "$program" "$code" 17 >"$WORK/consumer.json"
        cmp -s "$WORK/viewer.json" "$WORK/consumer.json" || fail "$code: $(basename "$program")'s system differs from --system"
    done
    pass "$code: stars and system equal the command line's, all three builds"
done

status=0
"${PROGRAMS[0]}" GX1-NOT-A-CODE >"$WORK/out" 2>"$WORK/err" || status=$?
[ "$status" -eq 2 ] && [ ! -s "$WORK/out" ] && [ "$(wc -l <"$WORK/err")" -eq 1 ] ||
    fail "a bad code gave status $status, $(wc -c <"$WORK/out") bytes out, $(wc -l <"$WORK/err") lines on stderr"
status=0
"${PROGRAMS[0]}" "$SPIRAL" 99999999 >"$WORK/out" 2>"$WORK/err" || status=$?
[ "$status" -eq 2 ] && [ ! -s "$WORK/out" ] && [ "$(wc -l <"$WORK/err")" -eq 1 ] ||
    fail "a star past the galaxy gave status $status, $(wc -c <"$WORK/out") bytes out"
pass "bad input: status 2, one line on stderr, nothing written"

if [ -d "$PREFIX/lib/python3/dist-packages" ]; then
    PYTHONPATH="$PREFIX/lib/python3/dist-packages" /usr/bin/python3 -c "
import sys, galaxy_core
assert galaxy_core.__file__.startswith(sys.argv[1]), galaxy_core.__file__
assert len(galaxy_core.stars(sys.argv[2])) == $(($(wc -l <"$WORK/viewer.csv") - 1))
" "$PREFIX" "$HUBBLE" || fail "Python does not import galaxy_core from the prefix"
    pass "Python imports galaxy_core from the prefix"
fi
echo "$passed passed, 0 failed"
