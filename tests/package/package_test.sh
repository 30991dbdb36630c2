#!/usr/bin/env bash
# The Debian package, built from the build tree with cpack.
#
#   package_test.sh contents BUILD OUT VERSION PROGRAMS...
#       builds OUT/plane-tilings_VERSION_ARCH.deb and checks its fields, that
#       it holds exactly PROGRAMS under usr/bin and the copyright file, and
#       that it depends on the package of every library the programs link
#   package_test.sh install BUILD OUT VERSION PROGRAMS...
#       installs that package with apt-get, runs deltatile on a private
#       virtual display and tilings-export from the PATH, removes the
#       package and checks that nothing of it is left (root only; skipped
#       with 77 otherwise, or when the package is already installed)
set -euo pipefail

mode=$1 build=$2 out=$3 version=$4
shift 4
programs=("$@")
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
deb="$out/plane-tilings_${version}_$(dpkg --print-architecture).deb"
title='^Figuramont - prikaz zadatka$'
failures=0

fail() { printf 'FAIL: %s\n' "$*"; failures=$((failures + 1)); }
skip() { printf 'SKIP: %s\n' "$*"; exit 77; }
one_line() { tr '\n' ' ' <<<"$1" | sed 's/ *$//'; }
finish() { ((failures == 0)) && echo PASS || exit 1; }

work=$(mktemp -d)
cleanup_steps=("rm -rf '$work'")
cleanup() {
  local i
  for ((i = ${#cleanup_steps[@]} - 1; i >= 0; i--)); do eval "${cleanup_steps[i]}" || true; done
}
trap cleanup EXIT

# --- contents ---------------------------------------------------------------

build_package() {
  rm -rf "$out"
  if ! cpack --config "$build/CPackConfig.cmake" -B "$out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    fail "cpack failed"
    exit 1
  fi
  [[ -f "$deb" ]] || { ls "$out"; fail "no $deb"; exit 1; }
}

check_field() {
  local name=$1 want=$2 got
  got=$(dpkg-deb -f "$deb" "$name")
  [[ "$got" == "$want" ]] || fail "$name is '$got', expected '$want'"
}

check_fields() {
  check_field Package plane-tilings
  check_field Version "$version"
  check_field Architecture "$(dpkg --print-architecture)"
  check_field Section graphics
  [[ -n "$(dpkg-deb -f "$deb" Maintainer)" ]] || fail "no Maintainer"
  [[ -n "$(dpkg-deb -f "$deb" Description)" ]] || fail "no Description"
}

# Regular files in the package, one path a line without the leading "./".
packaged_files() {
  dpkg-deb -c "$deb" | awk '$1 ~ /^-/ { sub(/^\.\//, "", $6); print $6 }' | sort
}

expected_files() {
  printf 'usr/bin/%s\n' "${programs[@]}"
  echo usr/share/doc/plane-tilings/copyright
}

check_files() {
  local missing extra
  missing=$(comm -13 <(packaged_files) <(expected_files | sort))
  extra=$(comm -23 <(packaged_files) <(expected_files | sort))
  [[ -z "$missing" ]] || fail "missing from the package: $(one_line "$missing")"
  [[ -z "$extra" ]] || fail "not meant to be packaged: $(one_line "$extra")"
  local modes
  modes=$(dpkg-deb -c "$deb" | awk '$6 ~ /^\.\/usr\/bin\/./ && $1 != "-rwxr-xr-x" { print $6 }')
  [[ -z "$modes" ]] || fail "not mode 755: $(one_line "$modes")"
}

check_copyright() {
  dpkg-deb -x "$deb" "$work/root"
  cmp -s "$work/root/usr/share/doc/plane-tilings/copyright" "$source_dir/LICENSE" ||
    fail "usr/share/doc/plane-tilings/copyright is not LICENSE"
  grep -q '^MIT License$' "$source_dir/LICENSE" || fail "LICENSE does not name the MIT licence"
}

# The package names in Depends, one a line (alternatives included).
depended_packages() {
  dpkg-deb -f "$deb" Depends | sed 's/([^)]*)//g; s/[,|]/\n/g; s/ //g' | { grep -v '^$' || true; } | sort -u
}

# Every shared library a packaged program needs must come from a package
# that the package depends on.
check_depends() {
  local soname owners depends program multiarch
  depends=$(depended_packages)
  multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
  for program in "${programs[@]}"; do
    readelf -d "$work/root/usr/bin/$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
  done | sort -u >"$work/sonames"
  [[ -s "$work/sonames" ]] || fail "the packaged programs need no shared library at all?"
  while read -r soname; do
    owners=$(dpkg -S "*/$multiarch/$soname" 2>/dev/null | grep -v '^diversion' | sed 's/: .*//' |
      tr ',' '\n' | sed 's/ //g; s/:.*//' | sort -u)
    [[ -n "$owners" ]] || { fail "no installed package ships $soname"; continue; }
    comm -12 <(echo "$owners") <(echo "$depends") | grep -q . ||
      fail "$soname comes from $(one_line "$owners"), which Depends does not name: $(dpkg-deb -f "$deb" Depends)"
  done <"$work/sonames"
}

contents_case() {
  build_package
  check_fields
  check_files
  check_copyright
  check_depends
  echo "Depends: $(dpkg-deb -f "$deb" Depends)"
  finish
}

# --- install ----------------------------------------------------------------

package_status() {
  dpkg-query -W -f='${db:Status-Abbrev}' plane-tilings 2>/dev/null || true
}

package_known() {
  local status
  status=$(package_status)
  [[ -n "$status" && "$status" != "un " ]]
}

apt() {
  DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=300 "$@" >"$work/apt.log" 2>&1 || {
    cat "$work/apt.log"
    return 1
  }
}

purge_if_known() {
  if package_known; then apt purge plane-tilings; fi
}

install_package() {
  [[ -f "$deb" ]] || { fail "no $deb: the contents case builds it"; exit 1; }
  cleanup_steps+=(purge_if_known)
  apt install "$deb" || { fail "apt-get install failed"; exit 1; }
  [[ "$(package_status)" == "ii " ]] || { fail "not installed after apt-get install: '$(package_status)'"; exit 1; }
  dpkg -L plane-tilings >"$work/installed"
}

check_installed_programs() {
  local program found unresolved
  for program in "${programs[@]}"; do
    found=$(PATH=/usr/local/bin:/usr/bin:/bin command -v "$program" || true)
    [[ "$found" == "/usr/bin/$program" ]] || fail "$program on the PATH is '$found', not /usr/bin/$program"
    unresolved=$(ldd "/usr/bin/$program" | grep 'not found' || true)
    [[ -z "$unresolved" ]] || fail "$program: $(one_line "$unresolved")"
  done
}

start_private_display() {
  mkfifo "$work/displayfd"
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp -noreset 3>"$work/displayfd" >/dev/null 2>&1 &
  cleanup_steps+=("kill $! 2>/dev/null; wait $! 2>/dev/null")
  local number
  read -r number <"$work/displayfd"
  export DISPLAY=":$number"
}

# deltatile from the PATH opens its window and draws more than a background.
check_window() {
  local pid window=""
  start_private_display
  PATH=/usr/bin:/bin deltatile >/dev/null 2>&1 &
  pid=$!
  cleanup_steps+=("kill $pid 2>/dev/null; wait $pid 2>/dev/null")
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "$pid" --name "$title" 2>/dev/null | head -n1) || true
    [[ -n "$window" ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  [[ -n "$window" ]] || { fail "/usr/bin/deltatile opened no window"; return; }
  sleep 1
  local colours
  colours=$(import -window "$window" png:- | identify -format '%k' - || echo 0)
  ((colours > 1)) || fail "deltatile's window shows $colours colour(s): nothing drawn"
  kill "$pid"
}

# tilings-export from the PATH writes the same SVG as the one in the build.
check_export() {
  PATH=/usr/bin:/bin tilings-export deltatile >"$work/installed.svg" ||
    { fail "tilings-export deltatile failed"; return; }
  xmllint --noout "$work/installed.svg" || fail "tilings-export gave no well-formed SVG"
  grep -q '<svg' "$work/installed.svg" || fail "tilings-export gave no <svg> element"
  "$build/bin/tilings-export" deltatile >"$work/built.svg"
  cmp -s "$work/installed.svg" "$work/built.svg" ||
    fail "the installed tilings-export writes another SVG than build/bin/tilings-export"
}

# After apt-get remove, dpkg knows nothing of the package and none of its
# files or its doc folder is left.
check_removed() {
  apt remove plane-tilings || { fail "apt-get remove failed"; return; }
  package_known && fail "dpkg still knows plane-tilings after remove: '$(package_status)'"
  purge_if_known || fail "apt-get purge failed"
  dpkg -L plane-tilings >/dev/null 2>&1 && fail "dpkg -L still lists plane-tilings"
  local path
  while read -r path; do
    [[ -f "$path" || -L "$path" ]] && fail "$path is left behind"
  done <"$work/installed"
  [[ -e /usr/share/doc/plane-tilings ]] && fail "/usr/share/doc/plane-tilings is left behind"
  return 0
}

install_case() {
  ((EUID == 0)) || skip "installing the package needs root"
  package_known && skip "plane-tilings is already installed ($(package_status)); leaving it alone"
  install_package
  check_installed_programs
  check_window
  check_export
  check_removed
  finish
}

case "$mode" in
  contents) contents_case ;;
  install) install_case ;;
  *) echo "usage: $0 contents|install BUILD OUT VERSION PROGRAMS..." >&2; exit 2 ;;
esac
