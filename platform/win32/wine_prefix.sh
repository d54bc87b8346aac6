# Wine prefixes holding a machine profile, for `./run windows` and
# sim/wine-prcfg (sourced by both). A profile's prefix is made once, under
# the build folder, and reused while the profile and these scripts stay the
# same.
#
#   wine_env PREFIX               the environment every Wine command here runs in
#   wine_machine_prefix OUT FILE  makes (once) the prefix of profile FILE under
#                                 OUT and enters it: WINEPREFIX, and
#                                 wine_test_settings, the DLL's test settings
#                                 (NAME=VALUE words for env); returns 2 when
#                                 the profile is refused
#   wine_virtual_display_start    starts a virtual display (Xvfb) for the
#                                 run and exports VX5PRCFG_WINE_DISPLAY
#   wine_virtual_display_stop     ends it
#   wine_run COMMAND...           COMMAND in the entered prefix with the test
#                                 settings and no input, CRs dropped from its
#                                 output; its exit status. No display either,
#                                 unless wine_display=1: then the display
#                                 VX5PRCFG_WINE_DISPLAY names, or a private
#                                 virtual one (xvfb-run)

wine_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

wine_env() {
  export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=-all
  # No Mono or Gecko installer in a prefix that needs neither, and no menu
  # entries or file types written to the home folder.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # Wine takes the ANSI code page from the Linux locale: 1252 here, whatever
  # the calling shell's locale.
  export LC_ALL=C.UTF-8
}

# The prefix's name: what its registry was made from.
wine_prefix_name() {
  local profile=$1
  {
    cat "$profile" "$wine_scripts/wine_profile.py" "$wine_scripts/wine_prefix.sh"
    WINEDEBUG=-all wine --version
  } | sha256sum | cut -c1-16
}

wine_machine_prefix() {
  local out=$1 profile=$2
  [ -f "$profile" ] || { echo "no machine profile $profile" >&2; return 2; }
  command -v wine >/dev/null || { echo "Wine is not installed (./run windows installs it)" >&2; return 1; }
  mkdir -p "$out"
  local prefix
  prefix="$(cd "$out" && pwd)/wine-prefix-$(wine_prefix_name "$profile")"
  wine_env "$prefix"
  # One maker at a time; the others wait for it and take its prefix.
  local lock status=0
  exec {lock}>"$prefix.lock"
  flock "$lock"
  [ -f "$prefix/vx5prcfg/ready" ] || wine_make_prefix "$prefix" "$profile" {lock}>&- || status=$?
  flock -u "$lock"
  exec {lock}>&-
  [ "$status" -eq 0 ] || return "$status"
  mapfile -t wine_test_settings <"$prefix/vx5prcfg/settings.env"
}

# Called where `set -e` may not hold: every step is checked.
wine_make_prefix() {
  local prefix=$1 profile=$2 own=$1/vx5prcfg
  rm -rf "$prefix"
  mkdir -p "$own"
  if ! python3 "$wine_scripts/wine_profile.py" "$profile" "$own"; then
    rm -rf "$prefix"
    return 2
  fi
  # A profile in another code page runs Wine in a locale of its country,
  # compiled here from the system's locale sources (glibc's localedef).
  if [ -f "$own/locale.name" ]; then
    local locale
    locale=$(cat "$own/locale.name")
    mkdir -p "$own/locale"
    if ! localedef -i "$locale" -f UTF-8 "$own/locale/$locale.UTF-8" >"$own/localedef.log" 2>&1; then
      echo "cannot compile the locale $locale; see $own/localedef.log" >&2
      rm -rf "$prefix"
      return 1
    fi
  fi
  local settings
  mapfile -t settings <"$own/settings.env"
  if ! env -u DISPLAY "${settings[@]}" wineboot --init >"$own/wineboot.log" 2>&1 ||
     ! env -u DISPLAY "${settings[@]}" wine regedit /S "$(winepath -w "$own/machine.reg")" \
       >"$own/regedit.log" 2>&1 ||
     ! wineserver -w; then
    # The registry reaches its files once the server ends (wineserver -w).
    echo "cannot make the Wine prefix $prefix; see $own/*.log" >&2
    wineserver -k 2>/dev/null
    rm -rf "$prefix"
    return 1
  fi
  cp "$profile" "$own/profile.reg"
  touch "$own/ready"
}

wine_run() {
  # Wine's own processes (services, explorer) outlive the command with the
  # output it was given: a pipe would stay open after it. Files do not.
  local output status=0
  output=$(mktemp -d)
  # No display: a message box would wait for a click that never comes. A
  # user script answers the dialogs and boxes itself, on a display.
  local display=(env -u DISPLAY)
  if [ "${wine_display:-0}" = 1 ]; then
    if [ -n "${VX5PRCFG_WINE_DISPLAY:-}" ]; then
      display=(env DISPLAY="$VX5PRCFG_WINE_DISPLAY")
    else
      display=(xvfb-run -a env)
    fi
  fi
  "${display[@]}" "${wine_test_settings[@]}" "$@" </dev/null >"$output/out" 2>"$output/err" ||
    status=$?
  tr -d '\r' <"$output/err" >&2
  tr -d '\r' <"$output/out"
  rm -rf "$output"
  return "$status"
}

wine_virtual_display_start() {
  local ready
  ready=$(mktemp)
  # Xvfb writes the display number it took once it accepts connections.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
  wine_virtual_display_pid=$!
  local tries=0
  while [ ! -s "$ready" ] && [ "$tries" -lt 100 ]; do
    sleep 0.1
    tries=$((tries + 1))
  done
  if [ ! -s "$ready" ]; then
    rm -f "$ready"
    echo "Xvfb did not start" >&2
    return 1
  fi
  export VX5PRCFG_WINE_DISPLAY=":$(tr -d '[:space:]' <"$ready")"
  rm -f "$ready"
}

wine_virtual_display_stop() {
  if [ -n "${wine_virtual_display_pid:-}" ]; then
    kill "$wine_virtual_display_pid" 2>/dev/null || true
    wait "$wine_virtual_display_pid" 2>/dev/null || true
    wine_virtual_display_pid=
  fi
  unset VX5PRCFG_WINE_DISPLAY
}
