#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantu developers
# SPDX-License-Identifier: MIT
# Cross-builds vantu.exe and vantu-render.exe for 64-bit Windows with mingw-w64, each one static
# file. The libraries they link (Qt's base, GMP, MPFR, libspng, libwebp, oneTBB) are built once
# from Debian's own source packages into $BUILD_DIR/deps; a later run reuses them and builds only
# Vantu. Nothing is downloaded but Debian's packages.
#   scripts/build-windows.sh            the dependencies when missing, then both programs
#   scripts/build-windows.sh deps       the dependencies alone
#   scripts/build-windows.sh cli        vantu-render.exe alone, without Qt, in $BUILD_DIR-cli
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${BUILD_DIR:-build-windows}
deps=$root/$build/deps
prefix=$deps/prefix
src=$deps/src
jobs=${JOBS:-$(nproc)}
triple=x86_64-w64-mingw32
toolchain=$root/cmake/mingw-w64.cmake
export VANTU_WINDOWS_PREFIX=$prefix

bash scripts/install-deps.sh --windows

say() { echo "build-windows: $*"; }

# The source of Debian's package $1, unpacked with Debian's patches, in $src; prints its folder.
unpacked() {
    local package=$1
    mkdir -p "$src"
    local folder
    folder=$(find "$src" -mindepth 1 -maxdepth 1 -type d -name "$2-*" | head -1)
    if [ -z "$folder" ]; then
        (cd "$src" && apt-get source -q "$package" >"$src/$package.log" 2>&1) || {
            tail -20 "$src/$package.log" >&2
            echo "build-windows: cannot fetch the source of $package; is a deb-src line in apt's sources?" >&2
            exit 1
        }
        folder=$(find "$src" -mindepth 1 -maxdepth 1 -type d -name "$2-*" | head -1)
    fi
    echo "$folder"
}

# Runs the rest of the line unless the stamp $1 says it was done; logs into $deps/$1.log.
once() {
    local name=$1
    shift
    if [ -f "$deps/$name.done" ]; then
        return
    fi
    say "building $name (log in $deps/$name.log)"
    local start=$SECONDS
    # A subshell of its own, so that errexit holds in the steps (it would not under an if).
    set +e
    (
        set -e
        "$@"
    ) >"$deps/$name.log" 2>&1
    local status=$?
    set -e
    if [ $status -ne 0 ]; then
        tail -30 "$deps/$name.log" >&2
        echo "build-windows: building $name failed; the whole log is $deps/$name.log" >&2
        exit 1
    fi
    touch "$deps/$name.done"
    say "$name built in $((SECONDS - start)) s"
}

cmake_dep() {
    local folder=$1
    shift
    cmake -S "$folder" -B "$folder/build-$triple" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DBUILD_SHARED_LIBS=OFF -DZLIB_LIBRARY=/usr/$triple/lib/libz.a "$@"
    cmake --build "$folder/build-$triple" -j "$jobs"
    cmake --install "$folder/build-$triple"
}

autotools_dep() {
    local folder=$1
    shift
    (cd "$folder" && ./configure --host=$triple --prefix="$prefix" --enable-static \
        --disable-shared CC=$triple-gcc-posix CXX=$triple-g++-posix "$@" &&
        make -j "$jobs" && make install)
}

build_gmp() {
    local folder
    folder=$(unpacked gmp gmp)
    # Debian's source leaves the manual out, so configure is made again without it.
    # gmpxx too: the set-up's whole numbers and fractions are its classes.
    (cd "$folder" && autoreconf -fi)
    autotools_dep "$folder" --enable-cxx
}
build_mpfr() {
    local folder
    folder=$(unpacked mpfr4 mpfr4)
    # Thread safe, its caches (pi's among them) and flags thread-local, as Debian builds it:
    # a cross-compiling configure cannot try TLS and leaves it out, and then the gallery's
    # threads, solving triangles at once, write over one another's pi. A folder configured
    # without it is cleaned first, since its objects do not depend on the options.
    (cd "$folder" && { [ ! -f Makefile ] || make distclean; })
    autotools_dep "$folder" --with-gmp="$prefix" --enable-thread-safe
    grep -q -- -DMPFR_USE_THREAD_SAFE=1 "$folder/src/Makefile" || {
        echo "build-windows: MPFR was configured without thread safety" >&2
        return 1
    }
}
build_spng() {
    local folder
    folder=$(unpacked libspng libspng)
    # Its static library alone does not configure (it sets the shared one's include folder).
    cmake_dep "$folder" -DSPNG_SHARED=ON -DSPNG_STATIC=ON \
        -DBUILD_EXAMPLES=OFF
}
build_webp() {
    local folder
    folder=$(unpacked libwebp libwebp)
    cmake_dep "$folder" -DWEBP_BUILD_ANIM_UTILS=OFF -DWEBP_BUILD_CWEBP=OFF \
        -DWEBP_BUILD_DWEBP=OFF -DWEBP_BUILD_GIF2WEBP=OFF -DWEBP_BUILD_IMG2WEBP=OFF \
        -DWEBP_BUILD_VWEBP=OFF -DWEBP_BUILD_WEBPINFO=OFF -DWEBP_BUILD_WEBPMUX=OFF \
        -DWEBP_BUILD_EXTRAS=OFF -DWEBP_BUILD_LIBWEBPMUX=ON
}
build_tbb() {
    local folder
    folder=$(unpacked onetbb onetbb)
    cmake_dep "$folder" -DTBB_TEST=OFF -DTBB_EXAMPLES=OFF -DTBB_STRICT=OFF \
        -DTBBMALLOC_BUILD=OFF
}
# Qt's base, static, with the host's own Qt tools (moc, rcc, uic) of the same version. Debian's
# source leaves out the tablet header, hence no tablet events. Desktop OpenGL for the 3D view.
build_qt() {
    local folder
    folder=$(unpacked qt6-base qt6-base)
    cmake_dep "$folder" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_tabletevent=OFF -DINPUT_opengl=desktop \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_system_zlib=ON -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
        -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF
}

mkdir -p "$deps" "$prefix"
# CLI11 is headers alone: Debian's, as they are.
mkdir -p "$prefix/include"
cp -r /usr/include/CLI "$prefix/include/"
once gmp build_gmp
once mpfr-thread-safe build_mpfr
once spng build_spng
once webp build_webp
once tbb build_tbb
if [ "${1:-}" = cli ]; then
    say "building vantu-render.exe"
    cmake -S "$root" -B "$root/$build-cli" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVANTU_WINDOWS_PREFIX="$prefix" \
        -DCMAKE_PREFIX_PATH="$prefix" -DVANTU_BUILD_WINDOW=OFF -DVANTU_BUILD_BENCH=OFF \
        -DVANTU_BUILD_TESTS=OFF
    cmake --build "$root/$build-cli" -j "$jobs" --target vantu-render
    exit 0
fi
once qt build_qt
if [ "${1:-}" = deps ]; then
    exit 0
fi

say "building Vantu"
cmake -S "$root" -B "$root/$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVANTU_WINDOWS_PREFIX="$prefix" \
    -DCMAKE_PREFIX_PATH="$prefix" -DVANTU_BUILD_BENCH=OFF -DVANTU_BUILD_TESTS=OFF
cmake --build "$root/$build" -j "$jobs"

# The installer and the zip, from the two programs, the licence and the README.
version=$(sed -n 's/^project(vantu VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
bin=$root/$build/bin
cp "$root/$build/packaging/icons/vantu.ico" "$bin/vantu.ico"
say "making the installer"
makensis -V2 -DVERSION="$version" -DBIN="$bin" -DTOP="$root" \
    -DOUT="$root/$build/vantu-setup.exe" packaging/windows/vantu.nsi
say "making the zip"
folder=$root/$build/zip/vantu-$version-windows
rm -rf "$root/$build/zip" "$root/$build/vantu-$version-windows.zip"
mkdir -p "$folder"
cp "$bin/vantu.exe" "$bin/vantu-render.exe" "$folder/"
cp LICENSE "$folder/LICENSE.txt"
cp README.md "$folder/README.txt"
(cd "$root/$build/zip" && zip -q -r "$root/$build/vantu-$version-windows.zip" "vantu-$version-windows")
say "built $build/bin/vantu.exe, $build/bin/vantu-render.exe, $build/vantu-setup.exe and $build/vantu-$version-windows.zip"
