#!/usr/bin/env bash
# The program as a user gets it: `cmake --install` into a fresh prefix, the installed programs
# started from an unrelated directory (so only their own data lookup can find their files), and
# the Debian package CPack builds from the same rules, checked by the tools a distribution uses.
# Arguments: build dir, source dir, cmake, cpack. Exit 1 on a fault, 77 when a tool was missing.
set -uo pipefail
build=$1 src=$2 cmake=$3 cpack=$4
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT
p=$tmp/prefix status=0 skipped=0
bad() { echo "FAIL: $*"; status=1; }
have() { command -v "$1" >/dev/null && return; echo "SKIP: $1 is missing (package $2): $3"; skipped=1; return 1; }

# Every file the install lays out. Data files are the source tree's own; both programs run.
data=(area.txt concentration.txt length.txt volume.txt weight.txt calc1.wav calc2.wav CALC1.hlp)
printf '%s\n' bin/tallyroll bin/tallyroll-help "${data[@]/#/share/tallyroll/}" \
  share/applications/tallyroll.desktop share/metainfo/org.example.tallyroll.metainfo.xml \
  share/mime/packages/tallyroll.xml share/icons/hicolor/scalable/apps/tallyroll.svg \
  share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/tallyroll.png \
  share/man/man1/{tallyroll,tallyroll-help}.1.gz share/doc/tallyroll/{copyright,changelog.gz} \
  share/lintian/overrides/tallyroll | sort >"$tmp/expected"

"$cmake" --install "$build" --prefix "$p" >/dev/null || bad "cmake --install failed"
(cd "$p" && find . -type f | sed 's|^\./||' | sort) | diff -u "$tmp/expected" - || bad "installed tree differs"
for f in "${data[@]}"; do cmp -s "$p/share/tallyroll/$f" "$src/data/$f" || bad "share/tallyroll/$f differs from data/$f"; done
for f in tallyroll tallyroll-help; do [ -x "$p/bin/$f" ] || bad "bin/$f is not executable"; done

# Started under strace from an empty directory, each installed program opens its file from
# share/tallyroll under the prefix, keeps running, and never opens anything in the source or build.
if have strace strace "opened files cannot be seen"; then
  mkdir "$tmp/elsewhere"
  for run in "tallyroll calc1.wav" "tallyroll-help CALC1.hlp CALC1.hlp"; do
    set -- $run
    rm -f "$tmp"/trace.* && want="\"$p/share/tallyroll/$2\""
    (cd "$tmp/elsewhere" && exec env QT_QPA_PLATFORM=offscreen timeout 120 strace -ff -qq -e trace=openat \
      -o "$tmp/trace" "$p/bin/$1" ${3:+"$3"} 2>"$tmp/err") &
    pid=$!
    until cat "$tmp"/trace.* 2>/dev/null | grep -q "$want.* = [0-9]" || ! kill -0 $pid 2>/dev/null; do sleep 0.1; done
    opened=$(cat "$tmp"/trace.* 2>/dev/null | grep -c "$want.* = [0-9]")
    [ "$opened" -gt 0 ] && sleep 1.5 # a crash right after loading would end it here
    kill -0 $pid 2>/dev/null && up=1 || up=0
    kill $pid 2>/dev/null; wait $pid 2>/dev/null
    if ! ls "$tmp"/trace.* >/dev/null 2>&1; then echo "SKIP: strace cannot trace here (no ptrace permission?)"; skipped=1; continue; fi
    if [ "$opened" = 0 ]; then bad "$1 did not open $want: $(cat "$tmp/err")"
    elif [ $up = 0 ]; then bad "$1 ended right after opening its data: $(cat "$tmp/err")"; fi
    ! grep -q "was not found" "$tmp/err" || bad "$1: $(cat "$tmp/err")"
    ! cat "$tmp"/trace.* | grep "^openat(.*\"$src/.* = [0-9]" || bad "installed $1 reached into the source or build tree"
  done
fi

# The tape type reaches the MIME database, and the menu entry claims the type the database gives *.cal.
if have update-mime-database shared-mime-info "the tape type is not checked"; then
  update-mime-database "$p/share/mime" >/dev/null 2>&1 || bad "update-mime-database failed"
  type=$(awk -F: '$3 == "*.cal" { print $2 }' "$p/share/mime/globs2")
  grep -qx "MimeType=$type;" "$p/share/applications/tallyroll.desktop" || bad "*.cal is '$type', not the .desktop's type"
  grep -q "<mediatype>$type</mediatype>" "$p/share/metainfo/org.example.tallyroll.metainfo.xml" || bad "metainfo lacks $type"
fi
! have desktop-file-validate desktop-file-utils "the menu entry is not checked" ||
  desktop-file-validate "$p/share/applications/tallyroll.desktop" || bad "desktop-file-validate"
# validate-tree also checks that the metainfo's launchable names the installed .desktop file.
! have appstreamcli appstream "the metainfo is not checked" || { appstreamcli validate --no-net \
  "$p/share/metainfo/org.example.tallyroll.metainfo.xml" && appstreamcli validate-tree --no-net "$p"; } || bad "appstreamcli"

# The package: the same tree under /usr with standard modes, each dependency named once,
# the libraries dpkg-shlibdeps finds next to the fonts it cannot see; lintian without errors.
if have dpkg-shlibdeps dpkg-dev "no Debian package is built"; then
  "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/deb" >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; bad "cpack failed"; }
  deb=$(ls "$tmp"/deb/*.deb)
  dpkg-deb -c "$deb" | awk '$6 !~ /\/$/ { print $6 }' | sed 's|^\./usr/||' | sort | diff -u "$tmp/expected" - || bad "package files differ"
  dpkg-deb -c "$deb" | awk '{ want = $6 ~ /\/$/ ? "drwxr-xr-x" : $6 ~ /^\.\/usr\/bin\// ? "-rwxr-xr-x" : "-rw-r--r--"
                             if ($1 != want) print }' | grep . && bad "files with unusual modes"
  deps=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | awk '{ print $1 }' | sort)
  [ -z "$(uniq -d <<<"$deps")" ] || bad "Depends repeats $(uniq -d <<<"$deps")"
  for want in fonts-liberation fonts-dejavu-core libc6 libstdc++6 libqt6gui6 libqt6widgets6 libqt6multimedia6 libqt6printsupport6; do
    grep -qx "$want" <<<"$deps" || bad "$want missing from Depends"
  done
  ! have lintian lintian "the package is not linted" || lintian --fail-on error "$deb" || bad "lintian reports errors"
fi
[ $status = 0 ] && [ $skipped = 1 ] && exit 77
exit $status
