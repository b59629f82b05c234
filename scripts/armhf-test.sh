#!/usr/bin/env bash
# Builds the whole program for the device's 32-bit ARM processor (armhf) with Debian's cross
# compiler and the armhf libraries (multiarch), runs its tests under qemu and compares the screen
# the armhf home screen draws on each device profile's sample device with the build machine's.
# As root it first installs what is missing; otherwise it prints the commands to run and stops.
#
#   scripts/armhf-test.sh            install what is missing, configure, build, test
#   scripts/armhf-test.sh --no-install
set -euo pipefail
cd "$(dirname "$0")/.."

install=1
for arg in "$@"; do
  case "$arg" in
    --no-install) install=0 ;;
    *) echo "usage: $0 [--no-install]" >&2; exit 2 ;;
  esac
done

host_packages=(crossbuild-essential-armhf qemu-user-static cmake ninja-build pkg-config)
# The core: without these nothing is built.
core_packages=(libsqlite3-dev:armhf libjsoncpp-dev:armhf libicu-dev:armhf zlib1g-dev:armhf
               libgtest-dev:armhf libgmock-dev:armhf)
# The graphics, the cover readers and the simulator's window. Each must install beside the build
# machine's copy; one that cannot is named and the build leaves out what needs it (see
# CMakeLists.txt: without SDL2 the window, without any other the whole display side).
program_packages=(libcairo2-dev:armhf libpango1.0-dev:armhf librsvg2-dev:armhf
                  libjpeg62-turbo-dev:armhf libpng-dev:armhf libdeflate-dev:armhf
                  libpoppler-cpp-dev:armhf libzip-dev:armhf libpugixml-dev:armhf
                  libdjvulibre-dev:armhf libsdl2-dev:armhf)

missing_packages() {
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
      echo "$package"
    fi
  done
}

apt_install() {
  # Another apt run (a developer's set-up, an unattended upgrade) may hold the lock for a while.
  apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "$@"
}

if [[ $install == 1 ]]; then
  # The screens are compared with the build machine's program: its packages too.
  scripts/setup.sh --no-build
  armhf_known=0
  dpkg --print-foreign-architectures | grep -qx armhf && armhf_known=1
  mapfile -t missing < <(missing_packages "${host_packages[@]}" "${core_packages[@]}")
  mapfile -t missing_program < <(missing_packages "${program_packages[@]}")
  if [[ $armhf_known == 0 || ${#missing[@]} -gt 0 || ${#missing_program[@]} -gt 0 ]]; then
    if [[ $(id -u) != 0 ]]; then
      echo "Missing packages for the armhf build. Run as root:" >&2
      echo "  dpkg --add-architecture armhf && apt-get update && apt-get install -y ${missing[*]} ${missing_program[*]}" >&2
      exit 1
    fi
    [[ $armhf_known == 1 ]] || dpkg --add-architecture armhf
    export DEBIAN_FRONTEND=noninteractive
    apt-get -o DPkg::Lock::Timeout=600 update
    # Multiarch -dev packages must carry the same version for both architectures; apt upgrades the
    # build machine's copies when the armhf ones are newer.
    ((${#missing[@]} == 0)) || apt_install "${missing[@]}"
    if ((${#missing_program[@]})) && ! apt_install "${missing_program[@]}"; then
      # One of them cannot be installed beside the build machine's copy: find which, keep the rest.
      refused=()
      for package in "${missing_program[@]}"; do
        apt_install "$package" || refused+=("$package")
      done
      echo "armhf: these packages cannot be installed beside the build machine's: ${refused[*]}" >&2
      echo "armhf: the build leaves out what needs them (CMake's warnings say what)" >&2
    fi
  fi
fi

# Tests that start other programs of the project (the sample-device generator, stand-ins, the home
# screen itself) exec armhf binaries from inside the emulator; the kernel runs those only when qemu
# is registered with binfmt_misc (qemu-user-static does that where /proc/sys/fs/binfmt_misc is
# mounted; containers often lack it). Without it those tests fail with exit status 127. The screen
# comparison starts the emulator itself and runs everywhere.
ctest_filter=()
if [[ ! -e /proc/sys/fs/binfmt_misc/qemu-arm ]]; then
  echo "note: qemu-arm is not registered with binfmt_misc; skipping the tests that start other" >&2
  echo "      armhf programs (label spawns_programs; see README, 32-bit ARM)" >&2
  ctest_filter=(-LE spawns_programs)
fi

jobs=$(nproc)
start=$(date +%s)
# The screens are compared with the build machine's program (CI has just built it: nothing to do).
[[ -f build/build.ninja ]] || cmake --preset default
cmake --build --preset default -j "$jobs" --target bookshelf.app make-sample-device
host_built=$(date +%s)
cmake --preset armhf
cmake --build --preset armhf -j "$jobs"
built=$(date +%s)
status=0
ctest --test-dir build-armhf --output-on-failure -j "$jobs" "${ctest_filter[@]}" || status=$?
end=$(date +%s)
grep -h "pixels differ" build-armhf/Testing/Temporary/LastTest.log || true
echo "armhf: build machine's programs $((host_built - start)) s, armhf build $((built - host_built)) s, tests $((end - built)) s"
exit "$status"
