# Sourced by the benchmarks that run the Windows build under Wine (with `repo` set): builds
# boxpaint.exe, Release, with MinGW-w64 in WINDOWS_BUILD (default build-windows-release/),
# and sets `build` to that folder and `wine` to the loader (WINE, default
# /usr/lib/wine/wine64), with Wine's debugging output off. One wineserver is started, so
# that each Wine start then takes about 0.1 s.
wine=${WINE:-/usr/lib/wine/wine64}
build=${WINDOWS_BUILD:-$repo/build-windows-release}
export WINEDEBUG=-all
cmake -S "$repo" -B "$build" --toolchain "$repo/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBOXPAINT_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target boxpaint >/dev/null
"$(dirname "$wine")/wineserver" -p </dev/null >/dev/null 2>&1 || true
