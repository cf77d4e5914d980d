#!/usr/bin/env bash
# wine-install-check.sh WINE SETUP.EXE ZIP: installs, installs again over it and uninstalls the
# program with the installer in the wine prefix $WINEPREFIX, silently as an administrator would
# (/S), and checks the program folder, the shortcuts and that the data files are never overwritten
# or removed unless asked; that nothing is written while the program runs; that the zip unpacked
# over a used folder keeps every record; then the same installation in a second prefix, an
# English-language system whose user is named 张三, in the default folder and in a folder with
# Chinese characters and spaces.
# Run by ./scripts/windows.sh --test (on a virtual X server, with WINEPREFIX and friends set).
set -euo pipefail
wine=$1 setup=$2 zip=$3
title=Lumno校务管理软件
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumno'

fail() { echo "installer check: $*" >&2; exit 1; }
win() { "$wine" "$@" 2>/dev/null | tr -d '\r'; }
sums() { (cd "$1" && sha256sum uinfo.dat ./*._ database/*.dat); }
# Waits up to two minutes for a file to appear (or, with !, to go).
await() {
    local _
    for _ in $(seq 600); do
        if [ "$1" = "!" ]; then [ -e "$2" ] || return 0; else [ -e "$1" ] && return 0; fi
        sleep 0.2
    done
    return 1
}

# The program started in its folder, as its shortcuts start it; it holds its mutex from before it
# makes the data files that are missing, so the return of a removed one says that it runs.
program=""
start_program() {
    rm -f "$1/database/snote.dat"
    (cd "$1" && exec "$wine" lumno.exe </dev/null >/dev/null 2>&1) &
    program=$!
    await "$1/database/snote.dat" || fail "lumno.exe did not make the missing database/snote.dat in $1 at its start"
}
stop_program() {
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=""
}
trap '[ -z "$program" ] || stop_program' EXIT

# The person's folders, read from the prefix (a console would turn a Chinese name into "??").
profile() {
    local d
    for d in "$WINEPREFIX"/drive_c/users/*; do
        [ "$(basename "$d")" = Public ] || { echo "$d"; return; }
    done
}

# install_check PROFILE: the whole cycle in the default folder of the user whose profile it is.
install_check() {
    local home=$1 user
    user=$(basename "$home")
    local folder="C:\\users\\$user\\AppData\\Local\\Programs\\Lumno"
    local dir=$home/AppData/Local/Programs/Lumno
    local desktop=$home/Desktop menu="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$title"
    rm -rf "$dir"

    "$wine" "$setup" /S || fail "the installer ended with $?"
    for f in lumno.exe lumno-setup.exe uninstall.exe qt.conf Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6Sql.dll \
        libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll sqldrivers/qsqlite.dll \
        styles/qwindowsvistastyle.dll translations/qtbase_zh_CN.qm help/help.htm \
        uinfo.dat cahier._ snote._ teacher._ database/addonduty.dat database/cahier.dat database/snote.dat \
        database/teacher.dat; do
        [ -f "$dir/$f" ] || fail "$folder has no $f"
    done
    for lnk in "$desktop/$title.lnk" "$menu/$title.lnk" "$menu/卸载 $title.lnk"; do
        [ -f "$lnk" ] || fail "no shortcut $lnk"
    done
    # A shortcut holds its working folder as a UTF-16 string of its own, after its length in
    # UTF-16 units: exactly the program folder (the target, which contains it, is longer). Looked
    # for as bytes, since a folder outside ASCII (张三) is no text that strings(1) can list.
    for lnk in "$desktop/$title.lnk" "$menu/$title.lnk"; do
        python3 -c 'import struct, sys
d = open(sys.argv[1], "rb").read()
f = sys.argv[2]
u = f.encode("utf-16-le")
n = len(u) // 2  # wine counts the closing NUL too
sys.exit(0 if struct.pack("<H", n) + u in d or struct.pack("<H", n + 1) + u + b"\0\0" in d else 1)' "$lnk" "$folder" ||
            fail "$lnk does not start the program inside $folder"
    done
    for value in DisplayIcon EstimatedSize QuietUninstallString; do
        win reg.exe query "$key" /v "$value" | grep -q "$value" || fail "the Add/Remove entry has no $value"
    done
    echo "installed into $folder, with shortcuts on the desktop and in the Start menu"

    # Installed again over it: files that hold records stay exactly as they are, a missing one is made.
    printf 'records' >>"$dir/uinfo.dat"
    rm "$dir/database/snote.dat"
    local before
    before=$(sums "$dir" | grep -v snote.dat)
    "$wine" "$setup" /S || fail "the installer ended with $? over an installation"
    [ -f "$dir/database/snote.dat" ] || fail "installing again did not make the missing database/snote.dat"
    [ "$(sums "$dir" | grep -v snote.dat)" = "$before" ] || fail "installing again changed a data file"
    echo "installed again: every data file kept, the missing one made"

    # While the program runs, neither the installer nor the uninstaller writes or removes a file.
    start_program "$dir"
    find "$dir" -type f -exec touch -d 2000-01-01 {} +
    local status=0
    "$wine" "$setup" /S || status=$?
    [ "$status" = 3 ] || fail "the installer ended with $status while the program ran (expected 3)"
    status=0
    "$wine" "$dir/uninstall.exe" /S "_?=$folder" || status=$?
    [ "$status" = 3 ] || fail "the uninstaller ended with $status while the program ran (expected 3)"
    [ -z "$(find "$dir" -newermt 2001-01-01 -type f)" ] || fail "files changed while the program ran: $(find "$dir" -newermt 2001-01-01 -type f)"
    [ -f "$dir/lumno.exe" ] || fail "lumno.exe went while the program ran"
    [ -f "$dir/uninstall.exe" ] || fail "uninstall.exe went while the program ran"
    stop_program
    "$wine" "$setup" /S || fail "the installer ended with $? once the program was closed"
    echo "while the program ran: installer and uninstaller refused, nothing written; once closed, installed"

    # The zip holds no data file; unpacked over the used folder it keeps every record.
    ! unzip -Z1 "$zip" | grep -E '\.(dat|_)$' || fail "the zip holds data files"
    unzip -Z1 "$zip" | grep -qx 'Lumno/说明.txt' || fail "the zip has no Lumno/说明.txt"
    before=$(sums "$dir")
    unzip -q -o "$zip" -d "$(dirname "$dir")"
    [ "$(sums "$dir")" = "$before" ] || fail "unpacking the zip over the used folder changed a data file"
    echo "the zip holds no data file: unpacked over the used folder, every record kept"

    # Uninstalled (silently: the data files are kept unless the person ticks their removal).
    "$wine" "$dir/uninstall.exe" /S "_?=$folder" || fail "the uninstaller ended with $?"
    for f in lumno.exe Qt6Core.dll platforms/qwindows.dll help/help.htm; do
        [ ! -e "$dir/$f" ] || fail "the uninstaller left $f"
    done
    [ "$(sums "$dir")" = "$before" ] || fail "the uninstaller changed or removed a data file"
    for lnk in "$desktop/$title.lnk" "$menu/$title.lnk"; do
        [ ! -e "$lnk" ] || fail "the uninstaller left $lnk"
    done
    ! win reg.exe query "$key" >/dev/null || fail "the uninstaller left its entry in the registry"
    echo "uninstalled: program and shortcuts gone, data files kept"

    # Installed again over the kept data, with backups and kept damaged files; uninstalled with the
    # data files (/DATA, the option's box ticked), as the Add/Remove entry runs it: nothing stays.
    "$wine" "$setup" /S || fail "the installer ended with $? over kept data files"
    [ "$(sums "$dir")" = "$before" ] || fail "installing over kept data files changed one"
    mkdir -p "$dir/backup/2026-12-08_143005_手动备份"
    cp "$dir/uinfo.dat" "$dir/backup/2026-12-08_143005_手动备份/"
    cp "$dir/uinfo.dat" "$dir/uinfo.dat.损坏-2026-12-08_143005"
    cp "$dir/database/cahier.dat" "$dir/database/cahier.dat.损坏-2026-12-08_143005"
    "$wine" "$dir/uninstall.exe" /S /DATA || fail "the uninstaller ended with $? (/DATA)"
    await ! "$dir" || fail "uninstalling with the data files left $(find "$dir" | head -5)"
    echo "uninstalled with the data files: the folder, its backups and kept damaged files gone"
}

install_check "$(profile)"

# An English-language system whose user is 张三: the user's folder is outside the 8-bit code page.
# The locale is compiled into the build folder (the machine may have only C.UTF-8).
locales=$(dirname "$WINEPREFIX")/locales
[ -d "$locales/en_US.UTF-8" ] || { mkdir -p "$locales" && localedef -i en_US -f UTF-8 "$locales/en_US.UTF-8"; }
wineserver -k 2>/dev/null || true
wineserver -w
# A new prefix each run: an earlier run's Add/Remove entry would offer its folder again.
rm -rf "$WINEPREFIX-en-zhangsan"
export WINEPREFIX=$WINEPREFIX-en-zhangsan LOCPATH=$locales LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 USER=张三 LOGNAME=张三
"$wine" wineboot.exe --init </dev/null
home=$WINEPREFIX/drive_c/users/张三
[ -d "$home" ] || fail "wine made no user folder 张三"
echo "second prefix: an English-language system, user 张三"
install_check "$home"

# A folder with Chinese characters and spaces: the one the installer offers, as it offers the
# folder of an earlier installation (its Add/Remove entry's InstallLocation).
install_into() {
    win reg.exe add "$key" /v InstallLocation /d "$1" /f >/dev/null
    "$wine" "$setup" /S
}
dir="$WINEPREFIX/drive_c/学校 记录/Lumno"
install_into 'C:\学校 记录\Lumno' || fail "the installer ended with $? in C:\\学校 记录\\Lumno"
for f in lumno.exe uninstall.exe uinfo.dat database/cahier.dat; do
    [ -f "$dir/$f" ] || fail "C:\\学校 记录\\Lumno has no $f"
done
echo "installed into C:\\学校 记录\\Lumno"

# The set-up program's reason for a failure reaches the installer as UTF-16: here a folder whose
# database is a file. The installer stops with 4 and leaves a whole installation behind.
blocked="$WINEPREFIX/drive_c/受阻 文件夹"
mkdir -p "$blocked" && printf x >"$blocked/database"
! "$wine" "$dir/lumno-setup.exe" --reason-file 'C:\原因.txt' 'C:\受阻 文件夹' >/dev/null 2>&1 ||
    fail "lumno-setup made a database folder over a file"
reason=$WINEPREFIX/drive_c/原因.txt
[ "$(head -c 2 "$reason" | od -An -tx1 | tr -d ' ')" = fffe ] || fail "the reason has no UTF-16 byte-order mark"
iconv -f UTF-16 -t UTF-8 "$reason" | grep -q '无法建立数据文件夹“C:\\受阻 文件夹\\database”' ||
    fail "the reason is not what went wrong: $(iconv -f UTF-16 -t UTF-8 "$reason")"
status=0
install_into 'C:\受阻 文件夹' || status=$?
[ "$status" = 4 ] || fail "the installer ended with $status where the data files could not be made (expected 4)"
[ -f "$blocked/uninstall.exe" ] || fail "the failed installation has no uninstaller"
echo "a folder that cannot take the data files: the reason in UTF-16, the installer stops with 4"
wineserver -k 2>/dev/null || true
wineserver -w
