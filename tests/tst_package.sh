#!/usr/bin/env bash
# The Debian package as a person gets it: built from this tree, unpacked into a temporary root,
# checked by Debian's own validators, and its start command run against the unpacked tree with a
# stand-in for the program that only records where it was started.
#   tst_package.sh BUILD_DIR VERSION
set -uo pipefail

if ! command -v dpkg-deb >/dev/null 2>&1; then
    echo "SKIP: dpkg-deb is missing; the Debian package can only be built and checked on Debian."
    exit 77
fi
build=$(readlink -f "$1")

tmp=$(mktemp -d)
cd "$tmp" || exit 1
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# --- the package and its control data ---------------------------------------------------------
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    echo "FAIL: cpack could not build the package"
    exit 1
fi
deb=$tmp/pkg/lumno_${2:?the program version}_amd64.deb
[ -f "$deb" ] || { ls "$tmp/pkg"; echo "FAIL: no $deb"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6sql6-sqlite libqt6widgets6 libsodium23 fonts-arphic-uming fonts-arphic-ukai fonts-wqy-microhei \
         qt6-translations-l10n; do
    [[ ", $depends," == *", $p"[\ ,]* ]] || fail "Depends lacks $p: $depends"
done
# No maintainer script: installing, upgrading or removing runs nothing that could reach a home.
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '^$' | sort | tr '\n' ' ')
[ "$control" = "control md5sums " ] || fail "control archive holds more than control and md5sums: $control"

root=$tmp/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
version=$(dpkg-deb -f "$deb" Version)
[ "$(zcat "$share/doc/lumno/changelog.gz" | head -1)" = "lumno ($version) unstable; urgency=medium" ] ||
    fail "the changelog's latest entry is not version $version"
grep -q "<release version=\"$version\"" "$share/metainfo/org.lumno.Lumno.metainfo.xml" ||
    fail "the metainfo's releases do not name version $version"

# --- the file list --------------------------------------------------------------------------------
expected=(usr/bin/lumno usr/libexec/lumno/lumno usr/libexec/lumno/lumno-setup
          usr/libexec/lumno/help/help.htm
          usr/share/lumno/uinfo.dat usr/share/lumno/cahier._ usr/share/lumno/snote._
          usr/share/lumno/teacher._ usr/share/lumno/database/addonduty.dat
          usr/share/lumno/database/cahier.dat usr/share/lumno/database/snote.dat
          usr/share/lumno/database/teacher.dat usr/share/lumno/database/recycle.dat
          usr/share/applications/org.lumno.Lumno.desktop
          usr/share/metainfo/org.lumno.Lumno.metainfo.xml
          usr/share/icons/hicolor/scalable/apps/org.lumno.Lumno.svg
          usr/share/doc/lumno/copyright usr/share/doc/lumno/changelog.gz
          usr/share/man/man1/lumno.1.gz usr/share/lintian/overrides/lumno)
# The Jet reader comes with a build that found libmdb.
[ -x "$build/app/lumno-jetread" ] && expected+=(usr/libexec/lumno/lumno-jetread)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/org.lumno.Lumno.png")
done
for f in "${expected[@]}"; do [ -f "$root/$f" ] || fail "missing /$f"; done
for f in usr/bin/lumno usr/libexec/lumno/lumno usr/libexec/lumno/lumno-setup; do
    [ -x "$root/$f" ] || fail "/$f is not executable"
done
extra=$(cd "$root" && find . -type f | sed 's|^\./||' | sort | comm -13 <(printf '%s\n' "${expected[@]}" | sort) -)
[ -z "$extra" ] || fail "files nobody asked for: $extra"
# Paths written into the package follow its prefix /usr.
if grep -rIl /usr/local "$root" >/dev/null || zgrep -l /usr/local "$share/man/man1/lumno.1.gz" >/dev/null; then
    fail "the package names /usr/local"
fi

# The programs carry Debian's hardening (a tree configured by scripts/setup.sh or package.sh) and
# no path of the build machine: the package is the same wherever it was built.
binaries=()
for f in usr/libexec/lumno/lumno usr/libexec/lumno/lumno-setup usr/libexec/lumno/lumno-jetread; do
    [ -f "$root/$f" ] && binaries+=("$root/$f")
done
source_dir=$(cd "$(dirname "$0")/.." && pwd)
for b in "${binaries[@]}"; do
    grep -q -F -e "$build" -e "$source_dir" "$b" && fail "${b#"$root"} holds a path of the build machine"
done
# Control-flow protection is not among Debian 12's flags. The Jet reader calls no function that
# fortify protects, which hardening-check reports as "only unprotected functions found".
if command -v hardening-check >/dev/null 2>&1; then
    for b in "${binaries[@]}"; do
        skip=(--nocfprotection)
        [ "${b##*/}" = lumno-jetread ] && skip+=(--nofortify)
        hardening-check --quiet "${skip[@]}" "$b" >>"$tmp/hardening.log" 2>&1 || fail "hardening-check ${b#"$root"}"
    done
    grep -q . "$tmp/hardening.log" && cat "$tmp/hardening.log"
fi

# --- Debian's validators --------------------------------------------------------------------------
desktop-file-validate "$share/applications/org.lumno.Lumno.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/org.lumno.Lumno.metainfo.xml" >"$tmp/as.log" 2>&1 ||
    { cat "$tmp/as.log"; fail "appstreamcli validate"; }
lintian --fail-on error,warning "$deb" 2>/dev/null || fail "lintian reports errors or warnings"
man -l --warnings -E UTF-8 "$share/man/man1/lumno.1.gz" 2>&1 >/dev/null | grep . && fail "man page warnings"

# --- the start command against the unpacked tree --------------------------------------------------
# The stand-in program writes its working folder, so a start leaves a trace and never opens a window.
# There is no platform plugin either: a start that would show its message box fails at once instead
# of waiting for a click that never comes.
program=$root/usr/libexec/lumno/lumno
# shellcheck disable=SC2016 # $STARTS is expanded by the stand-in, not here
printf '#!/bin/sh\npwd >> "$STARTS"\n' >"$program"
export STARTS=$tmp/starts QT_QPA_PLATFORM=none
umask 022
data_files=(uinfo.dat cahier._ snote._ teacher._ database/addonduty.dat database/cahier.dat
            database/snote.dat database/teacher.dat database/recycle.dat)

# start EXPECTED_FOLDER [VAR=VALUE...]: starts once with that environment; the program must run
# inside EXPECTED_FOLDER.
start() {
    local folder=$1
    shift
    : >"$STARTS"
    env -u XDG_DATA_HOME HOME="$tmp/home" "$@" "$root/usr/bin/lumno" >"$tmp/start.out" 2>&1 ||
        { cat "$tmp/start.out"; fail "start with $* failed"; return; }
    [ "$(cat "$STARTS")" = "$folder" ] || fail "start with $* ran the program in '$(cat "$STARTS")', not $folder"
}

data=$tmp/xdg/lumno
start "$data" XDG_DATA_HOME="$tmp/xdg"
for f in "${data_files[@]}"; do
    cmp -s "$data/$f" "$share/lumno/$f" || fail "first start: $f is not the fresh file of /usr/share/lumno"
done
# The records are the person's alone, whatever the umask (here 022): the folder 0700, files 0600.
modes=$(cd "$data" && find . -printf '%y %m %p\n' | grep -v -e '^d 700 ' -e '^f 600 ')
[ -z "$modes" ] || fail "first start: not private to their owner: $modes"
# A data folder of an earlier version, open to others, is made private at the next start.
chmod 755 "$data"
start "$data" XDG_DATA_HOME="$tmp/xdg"
[ "$(stat -c %a "$data")" = 700 ] || fail "the start left the data folder $(stat -c %a "$data")"
# A second start keeps a changed file as it is and creates only what went missing.
echo "records" >>"$data/uinfo.dat"
cp "$data/uinfo.dat" "$tmp/uinfo.saved"
rm "$data/database/snote.dat"
start "$data" XDG_DATA_HOME="$tmp/xdg"
cmp -s "$data/uinfo.dat" "$tmp/uinfo.saved" || fail "second start changed uinfo.dat"
[ "$(cat "$tmp/start.out")" = "created database/snote.dat" ] ||
    fail "second start did more than create the missing file: $(cat "$tmp/start.out")"
[ -n "$(find "$data" -mindepth 1 -maxdepth 1 -name '*lock*')" ] && fail "a lock file stayed in the data folder"

# Unset, empty or relative XDG_DATA_HOME: the home folder's default.
start "$tmp/home/.local/share/lumno"
start "$tmp/home/.local/share/lumno" XDG_DATA_HOME=
start "$tmp/home/.local/share/lumno" XDG_DATA_HOME=relative/data

# Four starts at once (an impatient double click) into a fresh folder: all of them start.
pids=()
for i in 1 2 3 4; do
    XDG_DATA_HOME=$tmp/together "$root/usr/bin/lumno" >"$tmp/together.$i" 2>&1 &
    pids+=($!)
done
for i in 1 2 3 4; do wait "${pids[$((i - 1))]}" || fail "start $i of four at once: $(cat "$tmp/together.$i")"; done
for f in "${data_files[@]}"; do
    cmp -s "$tmp/together/lumno/$f" "$share/lumno/$f" || fail "four starts at once: $f is not whole"
done

# A data folder that cannot be made or written: the start says so in Chinese, turns to a message
# box (opening the display, which there is none of here) and never runs the program.
# start_fails FOLDER MESSAGE [COMMAND...]: starts with XDG_DATA_HOME=FOLDER, as COMMAND if given.
start_fails() {
    local folder=$1 message=$2
    shift 2
    : >"$STARTS"
    if XDG_DATA_HOME=$folder "$@" "$root/usr/bin/lumno" >/dev/null 2>"$tmp/err"; then
        fail "start into $folder succeeded"
    fi
    [ -s "$STARTS" ] && fail "start into $folder ran the program"
    grep -q "$message" "$tmp/err" || fail "start into $folder: no '$message' in: $(cat "$tmp/err")"
    grep -q 'platform plugin "none"' "$tmp/err" || fail "start into $folder did not turn to the display for a message box"
}
touch "$tmp/plainfile"
# shellcheck disable=SC1111 # the message's own Chinese quotation marks
start_fails "$tmp/plainfile" "无法建立数据文件夹“$tmp/plainfile/lumno”"
# Root writes anywhere: the read-only folder is tried as the user nobody where that is possible.
as_person=()
if [ "$(id -u)" -eq 0 ]; then
    command -v setpriv >/dev/null && as_person=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
if [ "$(id -u)" -ne 0 ] || [ ${#as_person[@]} -gt 0 ]; then
    chmod 755 "$tmp"
    mkdir -p "$tmp/readonly/lumno"
    chmod 555 "$tmp/readonly/lumno"
    # shellcheck disable=SC1111 # the message's own Chinese quotation marks
    start_fails "$tmp/readonly" "数据文件夹“$tmp/readonly/lumno”不能写入" "${as_person[@]}"
else
    echo "note: running as root without setpriv, the read-only folder case is not tried"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "package $deb: all checks passed"
