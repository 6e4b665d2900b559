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

# The 32-bit runtime. These machines run no 32-bit code, so Debian's i386 Wine
# (at the installed wine64's version, for the shared wineserver) runs under
# QEMU's user-mode emulator (bookworm-backports: bookworm's own takes a minute
# to start and then fails). The packages come through an apt configuration of
# our own and are unpacked under build/: installed system-wide, the i386 Wine
# would make /usr/bin/wine pick the 32-bit loader and break the 64-bit runs.
W32=$TAVREL_ROOT/build/wine32
wine_version=$(dpkg-query -W -f='${Version}' wine64)
if [ "$(cat "$W32/.tavrel-ready" 2>/dev/null)" != "$wine_version" ]; then
  echo "setup: fetching the 32-bit Wine $wine_version and the i386 emulator"
  rm -rf "$W32"
  apt_dir=$W32/apt
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d" \
           "$apt_dir/preferences.d" "$apt_dir/debs" "$W32/root" "$W32/lib/wine"
  : >"$apt_dir/status"
  # The system's Debian entries, and the backports suite beside its release.
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  {
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      awk -v codename="$codename" '
        function flush(  n, s, i, opt) {
          if (types ~ /(^| )deb( |$)/ && uris ~ /debian/) {
            opt = signed != "" ? "[signed-by=" signed "] " : ""
            n = split(suites, s, " ")
            for (i = 1; i <= n; i++) {
              print "deb " opt uris " " s[i] " " comps
              if (s[i] == codename) print "deb " opt uris " " codename "-backports " comps
            }
          }
          types = uris = suites = comps = signed = ""
        }
        /^[ \t]*$/ { flush(); next }
        /^Types:/ { sub(/^Types:[ \t]*/, ""); types = $0 }
        /^URIs:/ { sub(/^URIs:[ \t]*/, ""); uris = $0 }
        /^Suites:/ { sub(/^Suites:[ \t]*/, ""); suites = $0 }
        /^Components:/ { sub(/^Components:[ \t]*/, ""); comps = $0 }
        /^Signed-By:/ { sub(/^Signed-By:[ \t]*/, ""); signed = $0 }
        END { flush() }' /etc/apt/sources.list.d/debian.sources
    fi
    if [ -f /etc/apt/sources.list ]; then
      awk -v codename="$codename" '$1 == "deb" && /debian/ {
          print
          for (i = 2; i <= NF; i++) if ($i == codename) { $i = codename "-backports"; print; break }
        }' /etc/apt/sources.list
    fi
  } | sort -u >"$apt_dir/sources.list"
  grep -q -- "-backports" "$apt_dir/sources.list" || {
    echo "setup: no Debian $codename entry in the apt sources to add backports to" >&2; exit 1; }
  cat >"$apt_dir/apt.conf" <<EOF
Dir::Etc::SourceList "$apt_dir/sources.list";
Dir::Etc::SourceParts "$apt_dir/sources.list.d";
Dir::Etc::Preferences "$apt_dir/preferences";
Dir::Etc::PreferencesParts "$apt_dir/preferences.d";
Dir::State::Lists "$apt_dir/lists";
Dir::State::status "$apt_dir/status";
Dir::Cache "$apt_dir/cache";
APT::Architecture "amd64";
APT::Architectures { "amd64"; "i386"; };
APT::Sandbox::User "root";
EOF
  export APT_CONFIG=$apt_dir/apt.conf
  apt-get update -qq
  # Wine exactly at the host's version; the libraries at the host's where still served.
  debs=("wine32:i386=$wine_version" "libwine:i386=$wine_version" "qemu-user/$codename-backports")
  for p in libc6 libgcc-s1 libfreetype6 libfontconfig1 libpng16-16 zlib1g libbrotli1 libexpat1; do
    v=$(dpkg-query -W -f='${Version}' "$p:amd64" 2>/dev/null || true)
    if [ -n "$v" ] && apt-cache show "$p:i386=$v" 2>/dev/null | grep -q "^Package:"; then
      debs+=("$p:i386=$v")
    else
      debs+=("$p:i386")
    fi
  done
  (cd "$apt_dir/debs" && apt-get download -qq "${debs[@]}")
  unset APT_CONFIG
  for d in "$apt_dir"/debs/*.deb; do
    case "$(basename "$d")" in
      qemu-user_*) dpkg-deb --fsys-tarfile "$d" | tar -x -C "$W32/root" ./usr/bin/qemu-i386 ;;
      *) dpkg-deb -x "$d" "$W32/root" ;;
    esac
  done
  [ -x "$W32/root/usr/bin/qemu-i386" ] && [ -f "$W32/root/usr/lib/wine/wine" ] || {
    echo "setup: the 32-bit Wine or the emulator did not arrive" >&2; exit 1; }
  rm -rf "$apt_dir/debs" "$apt_dir/cache" "$apt_dir/lists"
  lib32=$W32/root/usr/lib/i386-linux-gnu
  # Wine loads zlib1.dll only as a built-in: the MinGW build, marked the way
  # the libwine package's install script marks it.
  in=/usr/i686-w64-mingw32/lib/zlib1.dll
  { head -c 64 "$in"; printf 'Wine builtin DLL\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0'; tail -c +97 "$in"; } \
    >"$lib32/wine/i386-windows/zlib1.dll"
  # Under the emulator the dynamic loader does not look in lib/ for FreeType's own libraries.
  cp -L "$W32/root/lib/i386-linux-gnu/libz.so.1" "$W32/root/lib/i386-linux-gnu/libexpat.so.1" "$lib32/"
  # Wine starts processes as "<its folder>/wine": there stands a wrapper that runs
  # the real loader under the emulator; its data and libraries are found relative to it.
  cp "$W32/root/usr/lib/wine/wine" "$W32/lib/wine/wine-elf"
  ln -s /usr/lib/wine/wineserver "$W32/lib/wine/wineserver"
  ln -s /usr/lib/wine/wine64 "$W32/lib/wine/wine64"
  ln -s ../root/usr/lib/i386-linux-gnu "$W32/lib/i386-linux-gnu"
  ln -s /usr/share "$W32/share"
  cat >"$W32/lib/wine/wine" <<'EOF'
#!/bin/sh
here=$(cd "$(dirname "$0")" && pwd)
root=$here/../../root
export WINELOADERNOEXEC=1
exec "$root/usr/bin/qemu-i386" -L "$root" -0 "$0" "$here/wine-elf" "$@"
EOF
  chmod +x "$W32/lib/wine/wine"
  echo "$wine_version" >"$W32/.tavrel-ready"
fi

# The Wine prefixes, one per Windows build: null graphics driver, made once.
make_prefix() { # prefix arch loader
  local prefix=$1
  [ ! -f "$prefix/.tavrel-ready" ] || return 0
  echo "setup: preparing the Wine prefix $prefix"
  case "$prefix" in
    "$TAVREL_ROOT"/build/?*) rm -rf "$prefix" ;;
    *) echo "setup: $prefix is outside $TAVREL_ROOT/build; not removing it" >&2; exit 1 ;;
  esac
  mkdir -p "$prefix"
  export WINEPREFIX=$prefix WINEARCH=$2 LC_ALL=$TAVREL_LOCALE
  "$3" wineboot -i >/dev/null 2>&1 || true
  "$3" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  # The driver setting is kept only when the wineserver ends by itself.
  "$WINESERVER" -w
  touch "$prefix/.tavrel-ready"
}
(make_prefix "$WINEPREFIX" win64 "$WINE64")
(make_prefix "$WINEPREFIX32" win32 "$WINE32")
echo "setup: ready"
