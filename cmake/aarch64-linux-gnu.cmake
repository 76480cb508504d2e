# Cross build for 64-bit ARM Linux (arm64) with Debian's cross compilers (package
# g++-aarch64-linux-gnu). Programs built for the target run under qemu-user (package
# qemu-user), which finds the target's C and C++ libraries in /usr/aarch64-linux-gnu.
# Libraries for the tests, such as GoogleTest, come from Debian's arm64 packages
# (libgtest-dev:arm64), which lie in /usr/lib/aarch64-linux-gnu.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)

# Libraries, headers and packages for the target only, programs (Python) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
