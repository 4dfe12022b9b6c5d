#!/bin/sh
# Installs the desktop entry, metainfo, icon and launcher of the build given
# as $1 into temporary prefixes (one with blanks and shell characters in its
# name) and checks them with desktop-file-validate and appstreamcli.
# Exit code 77 = skipped.
set -eu
build=$1

missing=""
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -n "$missing" ]; then
    echo "SKIPPED: validator(s) not installed:$missing (Debian packages desktop-file-utils, appstream)"
    exit 77
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

for prefix in "$scratch/plain" "$scratch/my apps \$HOME %d (1)"; do
    cmake --install "$build" --prefix "$prefix" --component desktop >/dev/null \
        || fail "cmake --install into $prefix"
    desktop="$prefix/share/applications/io.github.qtutakaze.QtUtakaze.desktop"
    metainfo="$prefix/share/metainfo/io.github.qtutakaze.QtUtakaze.metainfo.xml"
    icon="$prefix/share/icons/hicolor/32x32/apps/io.github.qtutakaze.QtUtakaze.png"
    for f in "$desktop" "$metainfo" "$icon" "$prefix/bin/qtutakaze"; do
        [ -s "$f" ] || fail "not installed: $f"
    done

    desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"

    # The entry starts the installed executable in the installed application
    # folder of this prefix, and shows the installed icon.
    grep -qxF "Path=$prefix/lib/qtutakaze" "$desktop" || fail "Path= of $prefix: $(grep ^Path= "$desktop")"
    grep -qxF "Icon=$icon" "$desktop" || fail "Icon= of $prefix: $(grep ^Icon= "$desktop")"
    grep -q '^Exec=.*/lib/qtutakaze/QtUtakaze"\{0,1\}$' "$desktop" || fail "Exec= of $prefix: $(grep ^Exec= "$desktop")"
    [ -x "$prefix/bin/qtutakaze" ] || fail "launcher not executable"
    grep -qF "cd '$prefix/lib/qtutakaze'" "$prefix/bin/qtutakaze" || fail "launcher folder of $prefix"
done

# Exec= of the prefix with reserved characters is quoted and escaped.
grep -qxF 'Exec="'"$scratch"'/my apps \\$HOME %%d (1)/lib/qtutakaze/QtUtakaze"' \
    "$scratch/my apps \$HOME %d (1)/share/applications/io.github.qtutakaze.QtUtakaze.desktop" \
    || fail "Exec= quoting: $(grep ^Exec= "$scratch/my apps \$HOME %d (1)/share/applications/io.github.qtutakaze.QtUtakaze.desktop")"
echo "desktop entry and metainfo valid"

# The application folder, when the executable is built: a reinstall keeps
# what the user put into the installed folder (real recordings, cues).
if [ -x "$build/bin/QtUtakaze" ]; then
    prefix="$scratch/full"
    cmake --install "$build" --prefix "$prefix" >/dev/null || fail "full install"
    app="$prefix/lib/qtutakaze"
    [ -x "$app/QtUtakaze" ] || fail "executable not installed in $app"
    for f in "$build"/bin/Music/*.ogg "$build"/bin/Music2/*.ogg "$build"/bin/start.wav; do
        [ -f "$f" ] || continue
        rel=${f#"$build/bin/"}
        cmp -s "$f" "$app/$rel" || fail "not installed: $rel"
        echo "user recording" >"$app/$rel"
        cmake --install "$build" --prefix "$prefix" >/dev/null || fail "reinstall"
        [ "$(cat "$app/$rel")" = "user recording" ] || fail "reinstall replaced the user's $rel"
        echo "application folder installed; user file $rel kept on reinstall"
        break
    done
fi
