#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it and checks it the way a user's machine
# would meet it: the file list, the programs' versions, the icon sizes, the desktop entry and the
# metadata. Arguments: build folder, version, application id, programs expected in usr/bin.
set -euo pipefail
build=$1 version=$2 id=$3
shift 3
programs=("$@")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack -G DEB"; }
deb="$work/out/tensiq_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); made: $(ls "$work/out")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tensiq ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "package version $(field Version)"
[ -n "$(field Description)" ] || fail "no description"
depends=$(field Depends)
# Found from the binaries, not written by hand.
for lib in libc6 libqt6core6; do
    [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
if [[ " ${programs[*]} " == *" tensiq "* ]]; then
    [[ "$depends" == *libqt6widgets6* ]] || fail "Depends lacks libqt6widgets6: $depends"
fi

root="$work/root"
dpkg-deb -x "$deb" "$root"

expected=()
for p in "${programs[@]}"; do expected+=("usr/bin/$p"); done
expected+=(usr/lib/tensiq/tq_chn.so usr/lib/tensiq/tq_en.so
    "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml"
    "usr/share/icons/hicolor/scalable/apps/$id.svg")
sizes=(16 22 24 32 48 64 128 256)
for s in "${sizes[@]}"; do expected+=("usr/share/icons/hicolor/${s}x${s}/apps/$id.png"); done
for m in tensiq tensiq-cli tensiq-sim; do expected+=("usr/share/man/man1/$m.1.gz"); done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -type f -printf '%P\n' | sort) ||
    fail "file list differs (< expected, > in the package)"

for p in "${programs[@]}"; do
    [ -x "$root/usr/bin/$p" ] || fail "$p is not executable"
    out=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/$p" --version 2>&1) || fail "$p --version: $out"
    [ "$out" = "$p $version" ] || fail "$p --version printed '$out', not '$p $version'"
done

# Each PNG is as large as its folder says: width and height are bytes 16 to 23 of the file.
for s in "${sizes[@]}"; do
    png="$root/usr/share/icons/hicolor/${s}x${s}/apps/$id.png"
    read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$png")
    [ "$w" = "$s" ] && [ "$h" = "$s" ] || fail "$png is ${w}x${h}"
done

for m in tensiq tensiq-cli tensiq-sim; do
    zcat "$root/usr/share/man/man1/$m.1.gz" | grep -q "^\.TH.*Tensiq $version" ||
        fail "man page $m does not carry version $version"
done

grep -qx "Exec=tensiq" "$root/usr/share/applications/$id.desktop" || fail "desktop entry Exec"
grep -qx "Icon=$id" "$root/usr/share/applications/$id.desktop" || fail "desktop entry Icon"
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop entry"
else
    echo "desktop-file-validate not installed: desktop entry not validated"
fi
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "metadata"
    grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml" ||
        fail "metadata release is not $version"
else
    echo "appstreamcli not installed: metadata not validated"
fi
echo "package $(basename "$deb") checked"
