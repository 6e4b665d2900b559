#!/usr/bin/env bash
# Installs what the builds and tests need; safe to run again.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$TAVREL_ROOT"

SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive

PACKAGES=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 libz-mingw-w64-dev
          googletest cmake tcl xvfb clang-14 clang-format-14 libclang-rt-14-dev dpkg-dev locales make gcc ninja-build
          python3)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
apt_updated=""
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  apt_updated=1
  $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page (936) from the locale, which must exist.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  echo "setup: generating zh_CN.UTF-8"
  $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi

# Debian source packages of SQLite and TinyXML.
DEPS=build/_deps
mkdir -p "$DEPS"
need_src=""
ls -d "$DEPS"/sqlite3-*/ >/dev/null 2>&1 || need_src=1
ls -d "$DEPS"/tinyxml-*/ >/dev/null 2>&1 || need_src=1
if [ -n "$need_src" ]; then
  if [ -f /etc/apt/sources.list.d/debian.sources ] && [ ! -f /etc/apt/sources.list.d/tavrel-src.sources ]; then
    sed 's/^Types: *deb *$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      | $SUDO tee /etc/apt/sources.list.d/tavrel-src.sources >/dev/null
    apt_updated=""
  elif [ -f /etc/apt/sources.list ] && ! grep -q '^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null \
       && [ ! -f /etc/apt/sources.list.d/tavrel-src.list ]; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $SUDO tee /etc/apt/sources.list.d/tavrel-src.list >/dev/null
    apt_updated=""
  fi
  [ -n "$apt_updated" ] || $SUDO apt-get update -qq
  (cd "$DEPS" && apt-get source -qq sqlite3 tinyxml >/dev/null 2>&1) || {
    echo "setup: apt-get source sqlite3 tinyxml failed" >&2; exit 1; }
fi

# The SQLite amalgamation, made from its source tree with tclsh.
if [ ! -f "$DEPS/sqlite-amalgamation/sqlite3.c" ]; then
  echo "setup: making the SQLite amalgamation"
  src=$(ls -d "$DEPS"/sqlite3-*/ | head -n 1)
  rm -rf "$DEPS/sqlite-build" && mkdir -p "$DEPS/sqlite-build"
  (cd "$DEPS/sqlite-build" && "$TAVREL_ROOT/$src/configure" --disable-tcl >/dev/null && make -s sqlite3.c >/dev/null)
  mkdir -p "$DEPS/sqlite-amalgamation"
  cp "$DEPS/sqlite-build/sqlite3.c" "$DEPS/sqlite-build/sqlite3.h" "$DEPS/sqlite-amalgamation/"
fi

# The Wine prefix: null graphics driver, made once.
if [ ! -f "$WINEPREFIX/.tavrel-ready" ]; then
  echo "setup: preparing the Wine prefix"
  case "$WINEPREFIX" in
    "$TAVREL_ROOT"/build/?*) rm -rf "$WINEPREFIX" ;;
    *) echo "setup: $WINEPREFIX is outside $TAVREL_ROOT/build; not removing it" >&2; exit 1 ;;
  esac
  mkdir -p "$WINEPREFIX"
  export LC_ALL=$TAVREL_LOCALE
  "$WINE64" wineboot -i >/dev/null 2>&1 || true
  "$WINE64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  "$WINESERVER" -w
  touch "$WINEPREFIX/.tavrel-ready"
fi
echo "setup: ready"
