#!/usr/bin/env bash
# Installs everything the builds and tests need on Debian 12, as root. Does nothing when all of it
# is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine64 fonts-wine fonts-ipafont-gothic xvfb xauth x11-apps imagemagick locales
  mtools dosfstools parted
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine shows the module's Japanese texts only under a Japanese locale (code page 932).
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
