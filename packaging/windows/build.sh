#!/bin/bash
# Platterbook for Windows with the cross Qt and TagLib that scripts/windows
# made: the pictures rendered by the Linux build, the program cross-built with
# the project's own CMake files, the portable zip and the NSIS installer.
#
#   build.sh SOURCE OUT QT_PREFIX TAGLIB_PREFIX build|test
set -euo pipefail
here=$1 out=$2 qt=$3 taglib=$4 what=$5
version=$(sed -n 's/^project(Platterbook VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")
say() { echo "windows: $*" >&2; }
mkdir -p "$out"

# The pictures: Qt for Windows comes without Qt Svg, so the Linux build
# renders them as PNG at the screen scales, and the icon for the program file.
say "rendering the pictures"
cmake -S "$here" -B "$out/host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLATTERBOOK_TESTS=OFF > "$out/host.log"
cmake --build "$out/host" --target platterbook_icons platterbook >> "$out/host.log"
"$out/host/platterbook_icons" --art "$here/src/art" "$out/art"
mkdir -p "$out/icon"
"$out/host/platterbook_icons" "$here/src/art/platterbook.svg" "$out/icon"
/usr/bin/convert "$out"/icon/{16,24,32,48,64,128,256}.png "$out/platterbook.ico"

say "building Platterbook $version for Windows"
export PLATTERBOOK_WINDOWS_PREFIX="$qt;$taglib"
export PKG_CONFIG_LIBDIR="$taglib/lib/pkgconfig"
cmake -S "$here" -B "$out/cross" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/packaging/windows/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$qt;$taglib" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DPLATTERBOOK_ART_PNG_DIR="$out/art" -DPLATTERBOOK_WINDOWS_ICON="$out/platterbook.ico" \
    > "$out/cross.log"
cmake --build "$out/cross" --target platterbook platterbook_screenshots core_tests window_tests \
    >> "$out/cross.log" || { tail -40 "$out/cross.log" >&2; exit 1; }

# The portable folder: the program and exactly what it loads (Qt 6 keeps
# the Windows printing in Qt6PrintSupport.dll itself).
folder="$out/Platterbook"
rm -rf "$folder"
mkdir -p "$folder"/{platforms,styles,fonts}
cp "$out/cross/platterbook.exe" "$folder/"
cp "$qt"/bin/Qt6{Core,Gui,Widgets,PrintSupport}.dll "$taglib"/bin/libtag.dll "$folder/"
cp /usr/lib/gcc/x86_64-w64-mingw32/12-posix/{libstdc++-6,libgcc_s_seh-1}.dll \
    /usr/x86_64-w64-mingw32/lib/{libwinpthread-1,zlib1}.dll "$folder/"
cp "$qt/plugins/platforms/qwindows.dll" "$folder/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
# The faces the windows are drawn in, with their licences: few Windows
# machines have Bookman, and Wine has neither it nor Arial.
cp /usr/share/fonts/opentype/urw-base35/URWBookman-{Light,Demi}.otf \
    /usr/share/fonts/truetype/liberation2/LiberationSans-{Regular,Bold}.ttf "$folder/fonts/"
cp /usr/share/doc/fonts-urw-base35/copyright "$folder/fonts/URW-base35-copyright.txt"
cp /usr/share/doc/fonts-liberation2/copyright "$folder/fonts/Liberation-copyright.txt"
zip_file="$out/platterbook-$version-windows-x64.zip"
rm -f "$zip_file"
(cd "$out" && zip -qr "$zip_file" Platterbook)
say "made $zip_file"

makensis -V2 -DVERSION="$version" -DSOURCE="$folder" -DICON="$out/platterbook.ico" \
    -DOUTFILE="$out/platterbook-$version-setup.exe" "$here/packaging/windows/installer.nsi"
say "made $out/platterbook-$version-setup.exe"

if [ "$what" = test ]; then
    # The tests need Qt's test library and the offscreen screen beside them.
    cp "$qt/bin/Qt6Test.dll" "$folder"/*.dll "$out/cross/tests/"
    cp -r "$folder/fonts" "$out/cross/tests/"
    mkdir -p "$out/cross/tests/platforms"
    cp "$qt"/plugins/platforms/{qwindows,qoffscreen}.dll "$out/cross/tests/platforms/"
    # The core and window tests on an offscreen screen of 1280 pixels.
    export WINEPREFIX="$out/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    wineboot -i >/dev/null 2>&1
    screen="offscreen:configfile=$(winepath -w "$out/cross/tests/screen1280.json" | tr '\\' /)"
    cd "$out/cross/tests"
    QT_QPA_PLATFORM="$screen" wine core_tests.exe --gtest_brief=1 &&
        QT_QPA_PLATFORM="$screen" wine window_tests.exe --gtest_brief=1 --gtest_filter=-X11.* &&
        "$here/tests/windows/run.sh" "$here" "$out" "$version" "$out/host/platterbook"
fi
