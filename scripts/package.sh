#!/usr/bin/env bash
# Makes the release in out/:
#   Barquill-<version>-setup.exe     the setup program (NSIS, makensis)
#   Barquill-<version>-portable.zip  the same files in a folder, to run from anywhere
#   Barquill-<version>/              that folder, as the zip holds it
#   winget/Quorvane.Barquill/<version>/  the Windows package manager's three manifests
# The binaries come from the Release build trees build/ (x86_64) and
# build-x86/ (i686): their product targets are brought up to date here, and
# stripped copies of kz.exe and trelmo.dll are taken. The test programs and
# benchmarks of those trees never reach the release.
# INSTALLER_URL names where the setup program will be published (a
# placeholder otherwise).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)

./scripts/build.sh build x86_64 kz trelmo kz_help >/dev/null
./scripts/build.sh build-x86 i686 kz trelmo >/dev/null

# The version CMake wrote from the project's version number.
version_of() { sed -n 's/^#define KZ_VERSION_TEXT "\(.*\)"$/\1/p' "$1/generated/common/Version.h"; }
VERSION=$(version_of build)
if [ -z "$VERSION" ] || [ "$VERSION" != "$(version_of build-x86)" ]; then
    echo "build/ and build-x86/ do not name the same version" >&2
    exit 1
fi
SITE=http://quorvane.example/
NAME=Barquill-$VERSION
STAGE=out/$NAME
SETUP=out/$NAME-setup.exe
ZIP=out/$NAME-portable.zip
# Every file of the release carries the time of the last commit, so that the
# zip does not change with the time of the build.
STAMP=$(git log -1 --format=%ct 2>/dev/null || echo 1577836800)

rm -rf "$STAGE" "$SETUP" "$ZIP" "out/winget/Quorvane.Barquill/$VERSION"
mkdir -p "$STAGE/x86"
x86_64-w64-mingw32-strip -o "$STAGE/kz.exe" build/bin/kz.exe
x86_64-w64-mingw32-strip -o "$STAGE/trelmo.dll" build/bin/trelmo.dll
i686-w64-mingw32-strip -o "$STAGE/x86/kz.exe" build-x86/bin/kz.exe
i686-w64-mingw32-strip -o "$STAGE/x86/trelmo.dll" build-x86/bin/trelmo.dll
cp build/bin/KZ.chm "$STAGE/"
# The texts with Windows line ends, for every editor there.
for text in README.txt LICENSE.txt; do
    sed -e "s|@VERSION@|$VERSION|g" -e "s|@SITE@|$SITE|g" -e 's/$/\r/' "packaging/$text" >"$STAGE/$text"
done
find "$STAGE" -exec touch -h -d "@$STAMP" {} +

(cd out && find "$NAME" | LC_ALL=C sort | TZ=UTC zip -X -q -D "$NAME-portable.zip" -@)

makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$VERSION" -DSTAGE="$ROOT/$STAGE" -DOUTFILE="$ROOT/$SETUP" \
    -DICON="$ROOT/kz/resources/art/trayicon.ico" packaging/barquill.nsi >/dev/null

MANIFESTS=out/winget/Quorvane.Barquill/$VERSION
mkdir -p "$MANIFESTS"
SHA256=$(sha256sum "$SETUP" | cut -d' ' -f1 | tr a-f A-F)
URL=${INSTALLER_URL:-https://quorvane.example/download/$NAME-setup.exe}
for manifest in packaging/winget/*.yaml; do
    sed -e "s|@VERSION@|$VERSION|g" -e "s|@SITE@|$SITE|g" -e "s|@SHA256@|$SHA256|g" \
        -e "s|@INSTALLER_URL@|$URL|g" "$manifest" >"$MANIFESTS/$(basename "$manifest")"
done

for file in "$STAGE/kz.exe" "$STAGE/trelmo.dll" "$STAGE/x86/kz.exe" "$STAGE/x86/trelmo.dll" "$SETUP" "$ZIP"; do
    printf '%8d KB  %s\n' $(( ($(stat -c %s "$file") + 1023) / 1024 )) "$file"
done
