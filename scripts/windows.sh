#!/usr/bin/env bash
# Builds the program for 64-bit Windows here, with Debian's mingw-w64 against a Qt for mingw:
# the program, its set-up program and its tests (in build-windows/), the program folder
# build-windows/app/, the installer build-windows/lumno-VERSION-setup.exe and the zip
# build-windows/lumno-VERSION-windows.zip (VERSION: the project's, from the top CMakeLists.txt).
#   ./scripts/windows.sh          all of that
#   ./scripts/windows.sh --test   the same, then every test and the installer under wine, on a
#                                 virtual X server (its first start makes a wine prefix: ~1 minute)
# The Qt: $LUMNO_QT_MINGW (its prefix) when set, else ../shared/toolchains/qt6-mingw-$qt_version.tar.xz,
# unpacked once into build-windows/. Without either it says how to make one and exits with 3.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows

test=0
for a in "$@"; do
    case "$a" in
    --test) test=1 ;;
    *) echo "usage: $0 [--test]" >&2; exit 2 ;;
    esac
done

elapsed() { echo "[windows.sh] $1: $(($(date +%s) - $2)) s"; }

# The Qt for Windows.
qt_version=6.4.2
tarball=$root/../shared/toolchains/qt6-mingw-$qt_version.tar.xz
if [ -n "${LUMNO_QT_MINGW:-}" ]; then
    qt=$(realpath "$LUMNO_QT_MINGW")
elif [ -f "$tarball" ]; then
    qt=$out/qt6-mingw-$qt_version
    if [ ! -f "$qt/.unpacked" ] || [ "$tarball" -nt "$qt/.unpacked" ]; then
        rm -rf "$qt" && mkdir -p "$out"
        tar -xJf "$tarball" -C "$out" && touch "$qt/.unpacked"
    fi
else
    cat >&2 <<EOF
There is no Qt for Windows here: neither LUMNO_QT_MINGW (the prefix of a Qt 6 cross-built with
mingw-w64, the folder holding lib/cmake/Qt6/qt.toolchain.cmake) nor
../shared/toolchains/qt6-mingw-$qt_version.tar.xz beside this repository.
To make one from Debian's own qtbase source package (about 35 minutes on two cores):
 1. Give apt deb-src entries for the machine's own sources: in each /etc/apt/sources.list.d/*.sources
    stanza change "Types: deb" to "Types: deb deb-src" (or copy each "deb ..." line of a .list file
    as "deb-src ..."), then apt-get update.
 2. apt-get source qt6-base sqlite3 (and install g++-mingw-w64-x86-64-posix, cmake, ninja-build,
    qt6-base-dev: Debian's moc, uic and rcc are the host tools).
 3. The three snags: Debian's repack removes src/3rdparty/sqlite and src/3rdparty/wintab. Build
    SQLite for mingw from the sqlite3 source's amalgamation, with -DSQLITE_ENABLE_COLUMN_METADATA
    (the Qt SQLite driver needs it), and configure qtbase with -DFEATURE_system_sqlite=ON,
    -DFEATURE_tabletevent=OFF, and -DFEATURE_opengl=OFF together with -DFEATURE_dynamicgl=OFF.
 4. Configure qtbase with a toolchain file for x86_64-w64-mingw32-gcc-posix/-g++-posix and
    -DQT_HOST_PATH=/usr -DBUILD_SHARED_LIBS=ON -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF, build, install into a prefix, and run this script with LUMNO_QT_MINGW=<prefix>.
EOF
    exit 3
fi
[ -f "$qt/lib/cmake/Qt6/qt.toolchain.cmake" ] || { echo "$qt holds no lib/cmake/Qt6/qt.toolchain.cmake" >&2; exit 1; }

source scripts/packages.sh
# qt6-base-dev: moc, uic and rcc for the cross build; libqt6sql6-sqlite: the set-up program that
# runs here; qt6-translations-l10n: Qt's own texts in Chinese; librsvg2-bin and icoutils: the
# program's icon; unzip and locales: the installer check (an English-language prefix); the fonts: Chinese glyphs under wine;
# xauth (for xvfb-run) and the X libraries wine's display driver loads are only recommended.
install_missing g++-mingw-w64-x86-64-posix wine wine64 nsis xvfb xauth librsvg2-bin icoutils unzip locales qt6-base-dev libqt6sql6-sqlite \
    qt6-translations-l10n cmake ninja-build g++ binutils fonts-arphic-uming fonts-arphic-ukai fonts-wqy-microhei \
    libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3 \
    libsodium-dev pkg-config dpkg-dev autoconf automake libtool make

# libsodium for Windows (the passwords' hashes), cross-built once from Debian's own source package
# into build-windows/libsodium/ as a static library, linked into the program: nothing to ship.
sodium=$out/libsodium
if [ ! -f "$sodium/lib/libsodium.a" ]; then
    start=$(date +%s)
    if ! apt-cache showsrc libsodium 2>/dev/null | grep -q '^Package: libsodium'; then
        # apt needs deb-src entries for apt-get source: the machine's own sources, as sources.
        sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -f "$f" ] && sed 's/^Types: deb$/Types: deb-src/' "$f"
            echo
        done | $sudo tee /etc/apt/sources.list.d/lumno-deb-src.sources >/dev/null
        if [ -f /etc/apt/sources.list ]; then
            grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
                $sudo tee /etc/apt/sources.list.d/lumno-deb-src.list >/dev/null || true
        fi
        $sudo apt-get -o DPkg::Lock::Timeout=600 update -q
    fi
    rm -rf "$out/libsodium-src" && mkdir -p "$out/libsodium-src"
    (cd "$out/libsodium-src" && apt-get source -q libsodium >/dev/null)
    (
        cd "$out"/libsodium-src/libsodium-*/
        ./autogen.sh -s >/dev/null
        ./configure -q --host=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix --prefix="$sodium" \
            --disable-shared --enable-static --disable-dependency-tracking
        make -j 2 >/dev/null && make install >/dev/null
    )
    rm -rf "$out/libsodium-src"
    elapsed "libsodium for Windows" "$start"
fi
# The cross build finds it, and only it, through pkg-config.
cross_pkgconfig=(env PKG_CONFIG_LIBDIR="$sodium/lib/pkgconfig" PKG_CONFIG_PATH=)

# libxlsxwriter (the reports' Excel files) for Windows: cross-built with mingw-w64 from Debian's own
# source package (apt needs deb-src entries, as described above for Qt), zlib linked in statically
# so that one DLL ships. Built once into build-windows/xlsxwriter/; its prefix in $xlsxwriter.
build_xlsxwriter() {
    xlsxwriter=$out/xlsxwriter/prefix
    [ -f "$xlsxwriter/.built" ] && return 0
    install_missing libz-mingw-w64-dev dpkg-dev
    local t src=$out/xlsxwriter/source
    t=$(date +%s)
    rm -rf "$out/xlsxwriter" && mkdir -p "$src"
    (cd "$src" && apt-get source -q libxlsxwriter >/dev/null) || {
        echo "apt-get source libxlsxwriter failed: give apt deb-src entries (see step 1 above)" >&2
        exit 3
    }
    local dir
    dir=$(find "$src" -mindepth 1 -maxdepth 1 -type d -name 'libxlsxwriter-*' | head -1)
    local mingw=/usr/x86_64-w64-mingw32
    cmake -S "$dir" -B "$out/xlsxwriter/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_C_COMPILER=x86_64-w64-mingw32-gcc-posix \
        -DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++-posix \
        -DCMAKE_RC_COMPILER=x86_64-w64-mingw32-windres -DCMAKE_FIND_ROOT_PATH=$mingw \
        -DBUILD_SHARED_LIBS=ON -DZLIB_INCLUDE_DIR=$mingw/include -DZLIB_LIBRARY=$mingw/lib/libz.a \
        -DCMAKE_SHARED_LINKER_FLAGS="-static-libgcc -s" -DCMAKE_INSTALL_PREFIX="$xlsxwriter" >/dev/null
    cmake --build "$out/xlsxwriter/build" -j 2 >/dev/null
    cmake --install "$out/xlsxwriter/build" >/dev/null
    touch "$xlsxwriter/.built"
    elapsed "libxlsxwriter for Windows" "$t"
}
build_xlsxwriter

# The set-up program for this machine: it lays out the data files of the Windows program folder
# (SQLite files are the same on every system).
start=$(date +%s)
host=$out/host
[ -f "$host/CMakeCache.txt" ] || cmake -S . -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$host" --target lumno-setup -j 2

# The cross build.
wine=wine
[ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64
if [ ! -f "$out/CMakeCache.txt" ]; then
    "${cross_pkgconfig[@]}" cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(gcc -print-multiarch)/cmake" \
        -DLUMNO_HOST_SETUP="$host/app/lumno-setup" -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" \
        -DLUMNO_XLSXWRITER_ROOT="$xlsxwriter"
fi
"${cross_pkgconfig[@]}" cmake -S . -B "$out" -DLUMNO_XLSXWRITER_ROOT="$xlsxwriter" >/dev/null # the one built above
"${cross_pkgconfig[@]}" cmake --build "$out" -j 2
elapsed "cross build" "$start"

# The installer and the zip: the installed files and a note, and no data file: the program makes
# the missing ones at its first start, so unpacking over a used folder never replaces a record.
start=$(date +%s)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt")
[ -n "$version" ] || { echo "no project version in $out/CMakeCache.txt" >&2; exit 1; }
(cd "$out" && cpack -G NSIS >/dev/null)
rm -rf "$out/zip" "$out/lumno-$version-windows.zip"
cmake --install "$out" --prefix "$out/zip/Lumno" >/dev/null
cp packaging/windows/说明.txt "$out/zip/Lumno/"
(cd "$out/zip" && cmake -E tar cf "../lumno-$version-windows.zip" --format=zip Lumno)
rm -rf "$out/zip"
elapsed "installer and zip" "$start"
ls -l "$out/lumno-$version-setup.exe" "$out/lumno-$version-windows.zip"
echo "Program folder ready: build-windows/app/"

[ "$test" = 1 ] || exit 0

# Wine, in a prefix of its own inside build-windows/, with a home of its own (no menu entries or
# desktop links land in the real one). Qt and the mingw runtime are found through WINEPATH.
export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
export HOME=$out/wine-home
mkdir -p "$HOME"
winpath() { echo "Z:${1//\//\\}"; }
# The program folder first: the tests load the very libraries that ship.
WINEPATH="$(winpath "$out/app");$(winpath "$qt/bin")"
export WINEPATH
# Wine hands no QT_* variable of the host to a Windows program, only WINEQT_* ones (as QT_*):
# the tests run offscreen, and a fatal error is printed instead of waiting in a message box.
WINEQT_PLUGIN_PATH=$(winpath "$qt/plugins")
export WINEQT_PLUGIN_PATH WINEQT_QPA_PLATFORM=offscreen WINEQT_FORCE_STDERR_LOGGING=1
# Qt's offscreen platform on Windows reads the fonts of one folder: the Chinese fonts the Linux
# tests use, linked into one.
fonts=$out/wine-fonts
mkdir -p "$fonts"
for f in $(dpkg -L fonts-arphic-uming fonts-arphic-ukai fonts-wqy-microhei | grep -E '\.(ttf|ttc)$'); do
    ln -sf "$f" "$fonts/"
done
WINEQT_QPA_FONTDIR=$(winpath "$fonts")
export WINEQT_QPA_FONTDIR
# Everything wine runs, on one virtual X server (wine needs a display even for Qt's offscreen
# platform) and with one wine server that ends with it.
under_wine() {
    set -euo pipefail
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        local t
        t=$(date +%s)
        "$wine" wineboot.exe --init </dev/null
        wineserver -w
        elapsed "first start of wine (new prefix)" "$t"
    fi
    wineserver -p </dev/null >/dev/null 2>&1
    # (The installer check ends the server of its own second prefix; here no server may be left.)
    trap 'wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true' EXIT
    # Wine starts its desktop process with the first program that makes a window and leaves that
    # program's output open in it until wine ends: CTest would wait for each test it ran first.
    # Start it with the set-up program, which makes a window too, here without any output.
    local warm
    warm=$(mktemp -d "$out/wine-warm.XXXXXX")
    "$wine" "$out/app/lumno-setup.exe" "$(winpath "$warm")" </dev/null >/dev/null 2>&1
    rm -rf "$warm"

    local t
    t=$(date +%s)
    ctest --test-dir "$out" --output-on-failure -j 2 || { echo "Tests under wine failed" >&2; return 1; }
    elapsed "tests under wine" "$t"
    t=$(date +%s)
    scripts/wine-install-check.sh "$wine" "$out/lumno-$version-setup.exe" "$out/lumno-$version-windows.zip"
    elapsed "installer under wine" "$t"
}
export wine out version
xvfb-run -a -s "-screen 0 1280x800x24" bash -c "$(declare -f under_wine elapsed winpath); under_wine"
