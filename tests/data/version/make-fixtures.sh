#!/bin/sh
# Rebuilds the version fixtures. Needs Debian's mingw-w64 (apt-get install
# mingw-w64); the build and the tests only use the committed results.
set -eu
cd "$(dirname "$0")"
W64=x86_64-w64-mingw32
W32=i686-w64-mingw32
LDFLAGS="-s -nostdlib -Wl,--no-insert-timestamp"

# 64-bit program, file and product version 1.2.3.4
$W64-windres version-1234.rc -O coff -o version-1234.res
$W64-gcc -Os $LDFLAGS -Wl,-e,Entry stub.c version-1234.res -o app-1234.exe

# 32-bit program, file version 2.1.0.37, product version 9.8.7.6
$W32-windres version-split.rc -O coff -o version-split.res
$W32-gcc -Os $LDFLAGS -Wl,-e,_Entry stub.c version-split.res -o app-split.exe

# 64-bit program with resources but no version
$W64-windres noversion.rc -O coff -o noversion.res
$W64-gcc -Os $LDFLAGS -Wl,-e,Entry stub.c noversion.res -o app-noversion.exe

# 32-bit library, file version 65535.0.65534.1
$W32-windres version-dll.rc -O coff -o version-dll.res
$W32-gcc -Os -shared $LDFLAGS -Wl,-e,_DllEntry@12 dllstub.c version-dll.res -o lib-version.dll

rm -f ./*.res
