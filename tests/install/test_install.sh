#!/usr/bin/env bash
# The program as a user gets it, installed into a fresh prefix and run from elsewhere, and its Debian package, checked
# by a distribution's tools. Arguments: build dir, source dir, cmake, cpack. Exit 1 on a fault, 77 if a tool is missing.
set -uo pipefail
build=$1 src=$2 cmake=$3 cpack=$4
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT
p=$tmp/prefix status=0 skipped=0
bad() { echo "FAIL: $*"; status=1; }
have() { command -v "$1" >/dev/null && return; echo "SKIP: $1 is missing (package $2): $3"; skipped=1; return 1; }

# Every file the install lays out.
data=(area.txt concentration.txt length.txt volume.txt weight.txt calc1.wav calc2.wav CALC1.hlp)
printf '%s\n' bin/tallyroll bin/tallyroll-help "${data[@]/#/share/tallyroll/}" \
  share/applications/tallyroll.desktop share/metainfo/org.example.tallyroll.metainfo.xml \
  share/mime/packages/tallyroll.xml share/icons/hicolor/scalable/apps/tallyroll.svg \
  share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/tallyroll.png \
  share/man/man1/{tallyroll,tallyroll-help}.1.gz share/doc/tallyroll/{copyright,changelog.gz} \
  share/lintian/overrides/tallyroll | sort >"$tmp/expected"

"$cmake" --install "$build" --prefix "$p" >/dev/null || bad "cmake --install failed"
(cd "$p" && find . -type f | sed 's|^\./||' | sort) | diff -u "$tmp/expected" - || bad "installed tree differs"

# Under strace (a file per thread, so no call is split in two) and from an empty folder, each installed program opens
# its data in share/tallyroll, nothing in the source tree, runs 2 s on, in a runtime folder no other viewer uses.
if have strace strace "opened files cannot be seen"; then
  mkdir "$tmp/elsewhere"
  for run in "tallyroll calc1.wav" "tallyroll-help CALC1.hlp CALC1.hlp"; do
    set -- $run
    want="\"$p/share/tallyroll/$2\".* = [0-9]"
    (cd "$tmp/elsewhere" && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$tmp" exec timeout -k 5 120 \
      strace -ff -qq -e trace=openat -o "$tmp/$1.trace" "$p/bin/$1" ${3:+"$3"} 2>"$tmp/err") &
    until cat "$tmp/$1".trace.* 2>/dev/null | grep -q "$want" || ! kill -0 $! 2>/dev/null; do sleep 0.1; done
    ls "$tmp/$1".trace.* >/dev/null 2>&1 || { echo "SKIP: strace cannot trace here" && skipped=1 && continue; }
    sleep 2
    kill $! 2>/dev/null || bad "$1 ended: $(cat "$tmp/err")"
    wait $!
    cat "$tmp/$1".trace.* | grep -q "$want" || bad "$1 did not open share/tallyroll/$2"
    ! cat "$tmp/$1".trace.* | grep "openat(.*\"$src/.* = [0-9]" || bad "installed $1 reached into the source tree"
  done
fi

# The tape type reaches the MIME database, and the menu entry claims the type the database gives *.cal.
if have update-mime-database shared-mime-info "the tape type is not checked"; then
  update-mime-database "$p/share/mime" >/dev/null 2>&1 || bad "update-mime-database failed"
  type=$(awk -F: '$3 == "*.cal" { print $2 }' "$p/share/mime/globs2")
  grep -qx "MimeType=$type;" "$p/share/applications/tallyroll.desktop" || bad "*.cal is '$type', not the menu's"
  grep -q "<mediatype>$type</mediatype>" "$p/share/metainfo/"*.metainfo.xml || bad "metainfo lacks $type"
fi
# validate-tree checks the metainfo, and that its launchable names the installed .desktop file.
! have appstreamcli appstream "the metainfo is not checked" || appstreamcli validate-tree --no-net "$p" ||
  bad "appstreamcli"

# The package: the same tree under /usr with standard modes, each dependency named once,
# the libraries dpkg-shlibdeps finds next to the fonts it cannot see; lintian without errors.
if have dpkg-shlibdeps dpkg-dev "no Debian package is built"; then
  "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/deb" >"$tmp/cpack.log" 2>&1 ||
    bad "cpack failed: $(cat "$tmp/cpack.log")"
  deb=$(ls "$tmp"/deb/*.deb)
  dpkg-deb -c "$deb" | awk '$6 !~ /\/$/ { print $6 }' | sed 's|^\./usr/||' | sort | diff -u "$tmp/expected" - ||
    bad "package files differ"
  dpkg-deb -c "$deb" | awk '{ want = $6 ~ /\/$/ ? "drwxr-xr-x" : $6 ~ /^\.\/usr\/bin\// ? "-rwxr-xr-x" : "-rw-r--r--"
                             if ($1 != want) print }' | grep . && bad "files with unusual modes"
  deps=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | awk '{ print $1 }' | sort)
  [ -z "$(uniq -d <<<"$deps")" ] || bad "Depends repeats $(uniq -d <<<"$deps")"
  for want in fonts-liberation fonts-dejavu-core libc6 libstdc++6 libqt6{gui,widgets,multimedia,printsupport}6; do
    grep -qx "$want" <<<"$deps" || bad "$want missing from Depends"
  done
  ! have lintian lintian "the package is not linted" || lintian --fail-on error "$deb" || bad "lintian reports errors"
fi
[ $status = 0 ] && [ $skipped = 1 ] && exit 77
exit $status
