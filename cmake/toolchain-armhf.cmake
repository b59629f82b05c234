# Cross build for the device: 32-bit ARM Linux (armhf) with Debian's cross compilers and the armhf
# libraries installed through multiarch (/usr/lib/arm-linux-gnueabihf, headers in /usr/include).
# Tests run on the build machine under qemu through the emulator setting, so ctest and GoogleTest's
# test discovery work unchanged.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)

set(MARROWLEAF_ARMHF_TRIPLET arm-linux-gnueabihf)
set(CMAKE_C_COMPILER ${MARROWLEAF_ARMHF_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${MARROWLEAF_ARMHF_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${MARROWLEAF_ARMHF_TRIPLET})

# Multiarch keeps both architectures under /usr: search it for the armhf libraries but never pick up
# the build machine's own ones.
set(CMAKE_FIND_ROOT_PATH /usr/${MARROWLEAF_ARMHF_TRIPLET} /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu /usr/lib/x86_64-linux-gnu/cmake)

# pkg-config must read the armhf .pc files only.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${MARROWLEAF_ARMHF_TRIPLET}/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# With the multiarch C library installed (libc6:armhf, pulled in by the armhf -dev packages) qemu
# uses its loader at /lib/ld-linux-armhf.so.3. The cross compiler's own copy under
# /usr/arm-linux-gnueabihf is an older build of the same library; mixing that loader with the
# multiarch libc crashes at the first thread, so "-L /usr/arm-linux-gnueabihf" is only used when the
# multiarch one is missing.
if(EXISTS /lib/ld-linux-armhf.so.3)
  set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm-static)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm-static -L /usr/${MARROWLEAF_ARMHF_TRIPLET})
endif()
