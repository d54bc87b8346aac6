#!/usr/bin/env bash
# The Windows build, run by `./run windows` once the packages are in place:
# cross-builds what the DLL needs once into build-windows/cache/, builds
# build-windows/vx5prcfg.dll, prcfg.exe and the Windows unit tests with MinGW,
# runs the tests under Wine and calls the DLL through prcfg.exe in a fresh
# Wine prefix against the simulated devices. `windows_build.sh dll` builds
# the DLL and prcfg.exe alone, for what only runs them (./run pictures).
set -euo pipefail
cd "$(dirname "$0")/../.."
top=$(pwd)

out=$top/build-windows
cache=$out/cache
deps=$cache/deps
toolchain=$top/platform/win32/mingw_toolchain.cmake
mingw=x86_64-w64-mingw32
jobs=${VX5PRCFG_JOBS:-2}

# shellcheck source=wine_prefix.sh
source "$top/platform/win32/wine_prefix.sh"

step() { printf '\n== %s (at %ss)\n' "$*" "$SECONDS"; }

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
    if [ -f "$f" ] && grep -qi 'debian' "$f"; then
      sed 's/^Types:.*/Types: deb-src/' "$f" >>"$sources"
      echo >>"$sources"
    fi
  done
  local list=$apt/sources.list
  : >"$list"
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    if [ -f "$f" ]; then
      sed -n 's/^deb[[:space:]]\(.*debian.*\)/deb-src \1/p' "$f" >>"$list"
    fi
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
  (cd "$cache/src" && apt_source net-snmp) >"$cache/netsnmp-source.log" 2>&1 ||
    { echo "apt-get source net-snmp failed; see $cache/netsnmp-source.log" >&2; exit 1; }
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

# build_windows [TARGET...]: every target, or the ones named.
build_windows() {
  local targets=()
  if [ $# -gt 0 ]; then
    step "the Windows build of $*"
    targets=(--target "$@")
  else
    step "vx5prcfg.dll, prcfg.exe and the Windows unit tests"
  fi
  if [ ! -f "$out/build.ninja" ]; then
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
                                              -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    cmake -S "$top" -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DVX5PRCFG_WINDOWS_DEPS="$deps" -DVX5PRCFG_WERROR=ON -DVX5PRCFG_BUILD_BENCH=OFF \
      "${launcher[@]}"
  fi
  cmake --build "$out" -j"$jobs" "${targets[@]}"
}

# --- Checks, unit tests and the smoke run -------------------------------------------

# The module's own code stays portable: only platform/win32 meets windows.h.
check_portable_sources() {
  local found
  found=$(grep -rlE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]windows\.h[>"]' \
    --include='*.cpp' --include='*.h' --include='*.c' \
    bench cli device exports framework platform prompts queries resources snmp tabprint tests \
    2>/dev/null | grep -v '^platform/win32/' || true)
  if [ -n "$found" ]; then
    echo "windows.h is included outside platform/win32:" >&2
    echo "$found" >&2
    exit 1
  fi
}

# The DLL exports the listed names, undecorated, and imports Windows' own
# DLLs only; prcfg.exe imports Windows' own DLLs only.
check_binaries() {
  step "exports and imports"
  python3 - "$out/vx5prcfg.dll" "$out/prcfg.exe" "$top/exports/exports.list" <<'PY'
import re, subprocess, sys
dll, exe, export_list = sys.argv[1:4]
system_dlls = {"advapi32.dll", "comctl32.dll", "gdi32.dll", "iphlpapi.dll", "kernel32.dll",
               "msvcrt.dll", "shell32.dll", "user32.dll", "winspool.drv", "ws2_32.dll"}
listed = [line.strip() for line in open(export_list)
          if re.fullmatch(r"[A-Za-z_][A-Za-z0-9_]*", line.strip())]
failed = False

def dump(path):
    return subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path], check=True,
                          capture_output=True, text=True).stdout

for path in (dll, exe):
    imports = re.findall(r"DLL Name: (\S+)", dump(path))
    foreign = [name for name in imports if name.lower() not in system_dlls]
    print(f"{path.split('/')[-1]} imports: {', '.join(imports)}")
    if foreign:
        print(f"  not a Windows system DLL: {', '.join(foreign)}")
        failed = True

table = dump(dll).split("[Ordinal/Name Pointer] Table", 1)
exported = re.findall(r"^\s+\[\s*\d+\]\s+(\S+)\s*$", table[1], re.M) if len(table) > 1 else []
print(f"vx5prcfg.dll exports {len(exported)} of the {len(listed)} listed names")
strangers = [name for name in exported if name not in listed]
if strangers:
    print(f"  not in exports.list (or decorated): {', '.join(strangers)}")
    failed = True
missing = [name for name in listed if name not in exported]
if missing:
    print(f"  not defined yet: {', '.join(missing)}")
sys.exit(1 if failed else 0)
PY
}

fresh_prefix() {
  step "a fresh Wine prefix"
  wine_env "$out/wine"
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  env -u DISPLAY wineboot --init >"$out/wineboot.log" 2>&1
  wineserver -w
}

unit_tests() {
  step "Windows unit tests under Wine"
  wine_env "$out/wine"
  # Message boxes, cursors and windows need a display: a virtual one.
  xvfb-run -a wine "$out/tests/win32_platform_tests.exe" 2>&1 | tr -d '\r' | grep -v '^X connection'
  wineserver -w
}

smoke_run() {
  step "smoke run: prcfg.exe under Wine against the simulated devices"
  local smoke=$out/smoke
  rm -rf "$smoke"
  mkdir -p "$smoke"
  wine_machine_prefix "$out" "$top/sim/machines/wine.reg"
  local long_folder="$WINEPREFIX/drive_c/vx5prcfg smoke"
  mkdir -p "$long_folder"
  : >"$long_folder/a long file name.txt"

  local prcfg=(wine_run wine "$out/prcfg.exe" --json)
  "${prcfg[@]}" GetCurrentTimePJL >"$smoke/pjl.json"
  date +%s >"$smoke/now"
  "${prcfg[@]}" GetShortPathNameFromDll 'C:\vx5prcfg smoke\a long file name.txt' >"$smoke/short.json"
  "${prcfg[@]}" GetMFPModel "Lobby Copier" >"$smoke/model15.json"
  "${prcfg[@]}" GetMFPModel "Silent Copier" >"$smoke/silent.json"
  python3 - "$smoke" <<'PY'
import json, sys
smoke = sys.argv[1]
def answer(name):
    return json.load(open(f"{smoke}/{name}.json"))
checks = []
pjl = answer("pjl")
now = int(open(f"{smoke}/now").read())
text = pjl["out"]["text"]
checks.append(("GetCurrentTimePJL", f'{pjl["return"]} {text}',
               pjl["return"] == 1 and text.startswith("T") and abs(int(text[1:]) - now) < 300))
short = answer("short")
path = short["out"]["shortPath"]
checks.append(("GetShortPathNameFromDll", f'{short["return"]} {path}',
               short["return"] == len(path) and " " not in path))
for name, queue, wanted in (("model15", "Lobby Copier", 1), ("silent", "Silent Copier", 0)):
    result = answer(name)
    checks.append((f"GetMFPModel {queue}", str(result["return"]), result["return"] == wanted))
for export, got, ok in checks:
    print(f'{"ok  " if ok else "FAIL"} {export}: {got}')
sys.exit(0 if all(ok for _, _, ok in checks) else 1)
PY
}

# The Linux build and the DLL under Wine answer the same calls alike.
parity_tests() {
  step "parity: the same calls through build/prcfg and prcfg.exe under Wine"
  [ -x "$top/build/prcfg" ] || { echo "no build/prcfg (./run windows builds it first)" >&2; exit 1; }
  local machine=$top/sim/machines/parity.reg
  wine_machine_prefix "$out" "$machine"
  # One Wine server and one virtual display for every call: no call waits for
  # either to start. The prompts are real dialogs, the display shows them.
  wineserver -p </dev/null >/dev/null 2>&1
  wine_virtual_display_start
  local status=0
  python3 "$top/tests/parity/parity.py" --machine "$machine" --calls "$top/tests/parity/calls.txt" \
    --linux "$top/build/prcfg" --windows "$top/sim/wine-prcfg" || status=$?
  wineserver -k
  wine_virtual_display_stop
  return "$status"
}

# Every prefix's server ends with the run.
stop_wine() {
  local prefix
  for prefix in "$out/wine" "$out"/wine-prefix-*/; do
    if [ -d "$prefix" ]; then WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; fi
  done
}

dependencies() {
  mkdir -p "$cache"
  build_netsnmp
  build_googletest
  link_json_headers
}

main() {
  check_portable_sources
  dependencies
  build_windows
  check_binaries
  fresh_prefix
  unit_tests
  # The simulated devices serve the smoke run and the parity tests.
  "$top/sim/start"
  trap '"$top/sim/stop"; stop_wine; wine_virtual_display_stop' EXIT
  smoke_run
  parity_tests
  step "done"
}

case "${1:-}" in
  dll)
    dependencies
    build_windows vx5prcfg prcfg
    ;;
  *) main ;;
esac
