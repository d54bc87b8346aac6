#!/usr/bin/env bash
# The Windows build, run by `./run windows` once the packages are in place:
# cross-builds what the DLL needs once into build-windows/cache/, builds
# build-windows/vx5prcfg.dll, prcfg.exe and the Windows unit tests with MinGW,
# runs the tests under Wine and calls the DLL through prcfg.exe in a fresh
# Wine prefix against the simulated devices.
set -euo pipefail
cd "$(dirname "$0")/../.."
top=$(pwd)

out=$top/build-windows
cache=$out/cache
deps=$cache/deps
toolchain=$top/platform/win32/mingw_toolchain.cmake
mingw=x86_64-w64-mingw32
jobs=${VX5PRCFG_JOBS:-2}

step() { printf '\n== %s\n' "$*"; }

# --- Dependencies, built once ---------------------------------------------------

# apt-get source needs deb-src entries: apt gets its own sources, lists and
# cache under the cache folder, made from the machine's Debian sources.
apt_source() {
  local apt=$cache/apt
  mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/archives/partial"
  local sources=$apt/sources.list.d/debian-src.sources
  : >"$sources"
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && grep -qi 'debian' "$f" && sed 's/^Types:.*/Types: deb-src/' "$f" >>"$sources" && echo >>"$sources"
  done
  local list=$apt/sources.list
  : >"$list"
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && grep -E '^deb[[:space:]].*debian' "$f" | sed 's/^deb[[:space:]]/deb-src /' >>"$list"
  done
  local options=(-o "Dir::Etc::SourceList=$list" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
                 -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt"
                 -o "Dir::Cache::archives=$apt/archives" -o APT::Sandbox::User=root)
  apt-get "${options[@]}" update -qq
  apt-get "${options[@]}" source -qq "$@"
}

build_netsnmp() {
  [ -f "$deps/lib/libnetsnmp.a" ] && [ -f "$deps/lib/pkgconfig/netsnmp.pc" ] && return
  step "Net-SNMP's snmplib for MinGW (once)"
  rm -rf "$cache/src"
  mkdir -p "$cache/src" "$deps/lib/pkgconfig" "$deps/include"
  (cd "$cache/src" && apt_source net-snmp)
  local source
  source=$(find "$cache/src" -mindepth 1 -maxdepth 1 -type d -name 'net-snmp*' | head -n 1)
  (
    cd "$source"
    ./configure --host=$mingw CC=$mingw-gcc-posix \
      --disable-agent --disable-applications --disable-mibs --with-mib-modules= \
      --without-openssl --disable-snmpv3 --enable-ipv6 \
      --with-defaults --disable-shared --disable-manuals --disable-scripts \
      --disable-embedded-perl --without-perl-modules --disable-dependency-tracking \
      >"$cache/netsnmp-configure.log" 2>&1
    make -j"$jobs" -C snmplib >"$cache/netsnmp-make.log" 2>&1
    make -C snmplib install prefix="$deps" exec_prefix="$deps" libdir="$deps/lib" \
      >>"$cache/netsnmp-make.log" 2>&1
    make installheaders prefix="$deps" includedir="$deps/include/net-snmp" \
      >>"$cache/netsnmp-make.log" 2>&1
  ) || { echo "Net-SNMP build failed; see $cache/netsnmp-*.log" >&2; exit 1; }
  local version
  version=$(sed -n 's/^Version: *//p' "$source/netsnmp.pc")
  # The static library needs Winsock and the IP helper from the start.
  cat >"$deps/lib/pkgconfig/netsnmp.pc" <<EOF
prefix=$deps
Name: netsnmp
Description: Net-SNMP's snmplib, cross-built for MinGW
Version: $version
Cflags: -I\${prefix}/include
Libs: -L\${prefix}/lib -lnetsnmp -lws2_32 -liphlpapi
EOF
  rm -rf "$cache/src"
}

build_googletest() {
  [ -f "$deps/lib/cmake/GTest/GTestConfig.cmake" ] && return
  step "GoogleTest for MinGW (once)"
  rm -rf "$cache/googletest"
  cmake -S /usr/src/googletest -B "$cache/googletest" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVX5PRCFG_WINDOWS_DEPS="$deps" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" >"$cache/googletest.log" 2>&1
  cmake --build "$cache/googletest" --target install >>"$cache/googletest.log" 2>&1 ||
    { echo "GoogleTest build failed; see $cache/googletest.log" >&2; exit 1; }
  rm -rf "$cache/googletest"
}

# The JSON library is headers alone: the prefix gets them and their package
# file, and nothing else of /usr/include.
link_json_headers() {
  [ -f "$deps/share/cmake/nlohmann_json/nlohmann_jsonConfig.cmake" ] && return
  mkdir -p "$deps/include" "$deps/share/cmake"
  ln -sfn /usr/include/nlohmann "$deps/include/nlohmann"
  cp -r /usr/share/cmake/nlohmann_json "$deps/share/cmake/"
}

# --- The build ---------------------------------------------------------------------

build_windows() {
  step "vx5prcfg.dll, prcfg.exe and the Windows unit tests"
  if [ ! -f "$out/build.ninja" ]; then
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
                                              -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    cmake -S "$top" -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DVX5PRCFG_WINDOWS_DEPS="$deps" -DVX5PRCFG_WERROR=ON -DVX5PRCFG_BUILD_BENCH=OFF \
      "${launcher[@]}"
  fi
  cmake --build "$out" -j"$jobs"
}

main() {
  mkdir -p "$cache"
  build_netsnmp
  build_googletest
  link_json_headers
  build_windows
}

main "$@"
