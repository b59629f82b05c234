#!/usr/bin/env bash
# Makes a fresh Debian 12 machine ready to build the project, then configures and builds it.
#
#   scripts/setup.sh [--preset default|asan|tsan|fuzz] [--no-build]
#
# Missing Debian packages are installed when running as root; otherwise the script prints the
# apt-get line to run and stops with status 1. The build uses the CMake presets (Ninja, build
# folder build/ for the default preset, build-asan/ and build-tsan/ for the sanitizers).
set -euo pipefail
cd "$(dirname "$0")/.."

preset=default
build=1
while (($#)); do
  case "$1" in
    --preset) preset=${2:?--preset needs a name}; shift 2 ;;
    --no-build) build=0; shift ;;
    *) echo "usage: $0 [--preset NAME] [--no-build]" >&2; exit 2 ;;
  esac
done

packages=(
  build-essential cmake ninja-build pkg-config
  libsqlite3-dev libjsoncpp-dev libicu-dev zlib1g-dev
  libcairo2-dev libpango1.0-dev librsvg2-dev libjpeg62-turbo-dev libpng-dev libdeflate-dev libsdl2-dev
  libpoppler-cpp-dev libzip-dev libpugixml-dev libdjvulibre-dev djvulibre-bin
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core fonts-droid-fallback fontconfig
  espeak-ng
  clang libclang-rt-14-dev
  xvfb xauth xdotool imagemagick
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  if [[ $(id -u) != 0 ]]; then
    echo "These Debian packages are missing. Install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # Another apt run (an unattended upgrade, a second set-up) may hold the lock for a while.
  apt-get -o DPkg::Lock::Timeout=600 update
  apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
fi

((build)) || exit 0
cmake --preset "$preset"
cmake --build --preset "$preset"
