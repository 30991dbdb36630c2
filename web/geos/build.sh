#!/usr/bin/env bash
# GEOS for WebAssembly, built from Debian's own source package.
#
#   web/geos/build.sh [-fwasm-exceptions | -fexceptions]
#                        prints the folder to pass as GEOS_DIR
#
# The C API is built with emcmake as static libraries, with C++ exceptions
# turned on: GEOS reports a failure by throwing inside its C API, which
# catches the throw and returns an error; without exception support the throw
# would end the page instead. By default they are WebAssembly's own
# exceptions (-fwasm-exceptions), which every current browser runs;
# -fexceptions gives Emscripten's JavaScript exceptions, for older browsers,
# at a larger and slower page (docs/performance.md). The explorer's build
# must use the same: web/explorer.cmake's WEB_EXCEPTIONS.
#
# The libraries hold LLVM bitcode (-flto), optimised with the explorer when
# it is linked. Every geometry class's virtual functions (contains, relate,
# distance, WKT text, ...) sit in its vtable, and a vtable keeps all of them
# in the page, called or not; with the classes' visibility hidden and
# whole-program vtables, the link leaves out those that no call can reach:
# 50 KB of the page after gzip (docs/performance.md).
#
# The install is kept outside the clone, keyed by
# GEOS's version and a hash of the flags and the compiler, so a second call or
# a second clone reuses it. The source comes through a private deb-src list;
# the machine's own apt sources are left alone.
set -euo pipefail

flags="-O2 ${1:--fwasm-exceptions} -DNDEBUG -flto -fvisibility=hidden -fwhole-program-vtables -fvirtual-function-elimination"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/plane-tilings"

say() { printf '%s\n' "$*" >&2; }

flags_key() {
  printf '%s\n%s\n' "$flags" "$(emcc --version | head -n1)" | sha256sum | cut -c1-12
}

# A finished install for these flags: the folder holding GEOSConfig.cmake.
cached_install() {
  local stamp
  for stamp in "$cache"/geos-*-"$key"/done; do
    [[ -f "$stamp" ]] && { printf '%s\n' "$(dirname "$stamp")/lib/cmake/GEOS"; return 0; }
  done
  return 1
}

# Downloads the source package into $cache/srcapt; prints its .dsc file.
fetch_source() {
  local d="$cache/srcapt" uri
  mkdir -p "$d/lists/partial" "$d/cache/archives/partial" "$d/parts" "$d/src"
  uri=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  [[ -n "$uri" ]] || uri=http://deb.debian.org/debian
  local suite
  suite=$(. /etc/os-release && printf '%s' "${VERSION_CODENAME:-bookworm}")
  printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$uri" "$suite" >"$d/parts/src.sources"
  local apt=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$d/parts"
             -o "Dir::State::Lists=$d/lists" -o "Dir::Cache=$d/cache")
  apt-get "${apt[@]}" update >&2
  (cd "$d/src" && apt-get "${apt[@]}" source --download-only geos >&2)
  ls -t "$d"/src/geos_*.dsc | head -n1
}

# Unpacks and builds the source of DSC into the cache; prints the install.
build_from() {
  local dsc=$1 version work prefix
  version=$(awk '/^Version:/ {print $2; exit}' "$dsc")
  version=${version%-*}
  prefix="$cache/geos-$version-$key"
  work="$cache/work-$version-$key"
  rm -rf "$work" "$prefix"
  mkdir -p "$work"
  dpkg-source -x "$dsc" "$work/src" >&2
  say "Building GEOS $version for WebAssembly: the first build takes ten to fifteen minutes;"
  say "later builds reuse $prefix."
  emcmake cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="$flags" -DCMAKE_C_FLAGS_RELEASE="$flags" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF -DBUILD_BENCHMARKS=OFF \
    -DBUILD_DOCUMENTATION=OFF -DBUILD_GEOSOP=OFF -DCMAKE_INSTALL_PREFIX="$prefix" >&2
  cmake --build "$work/build" -j"$(nproc)" >&2
  cmake --install "$work/build" >&2
  rm -rf "$work"
  touch "$prefix/done"
  printf '%s\n' "$prefix/lib/cmake/GEOS"
}

# Emscripten's tools look for their Node.js modules where Debian puts them.
[[ -d /usr/share/nodejs ]] && export NODE_PATH=/usr/share/nodejs
key=$(flags_key)
cached_install && exit 0
build_from "$(fetch_source)"
