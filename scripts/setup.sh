#!/usr/bin/env bash
# Installs every Debian package that building, running and testing vaRorivi needs.
# Idempotent: on a machine that has them all it only checks and returns, without
# touching the network.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686 gcc-mingw-w64-i686 binutils-mingw-w64-i686
  googletest
  wine wine64 wine32:i386 libpulse0:i386
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
  fonts-wine fonts-liberation
  xvfb xdotool x11-utils imagemagick
  pulseaudio pulseaudio-utils
  liblzma-dev xz-utils gcab cabextract lame
  locales procps psmisc
)

need_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1

missing=()
for p in "${packages[@]}"; do
  # dpkg-query answers "install ok installed" only for a fully installed package
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

sudo_cmd=()
[ "$(id -u)" = 0 ] || sudo_cmd=(sudo)

if [ "$need_i386" = 1 ]; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi

if [ "${#missing[@]}" -gt 0 ] || [ "$need_i386" = 1 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The Cyrillic language-table check needs a locale whose ANSI code page is 1251.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf8$'; then
  "${sudo_cmd[@]}" sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
echo "setup: all packages present"
