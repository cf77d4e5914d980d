#!/usr/bin/env bash
# wine-install-check.sh WINE SETUP.EXE: installs, installs again over it and uninstalls the program
# with the installer in the wine prefix $WINEPREFIX, silently as an administrator would (/S), and
# checks the program folder, the shortcuts and that the data files are never overwritten or removed.
# Run by ./scripts/windows.sh --test (on a virtual X server, with WINEPREFIX and friends set).
set -euo pipefail
wine=$1 setup=$2
title=Lumno校务管理软件

fail() { echo "installer check: $*" >&2; exit 1; }
win() { "$wine" "$@" 2>/dev/null | tr -d '\r'; }
unix() { winepath -u "$1" 2>/dev/null; }
sums() { (cd "$1" && sha256sum uinfo.dat ./*._ database/*.dat); }

folder="$(win cmd.exe /c echo %LOCALAPPDATA%)\\Programs\\Lumno"
dir=$(unix "$folder")
desktop=$(unix "$(win cmd.exe /c echo %USERPROFILE%)\\Desktop")
menu=$(unix "$(win cmd.exe /c echo %APPDATA%)\\Microsoft\\Windows\\Start Menu\\Programs\\$title")
[ -n "$dir" ] && [ -n "$desktop" ] && [ -n "$menu" ] || fail "wine does not name the user's folders"
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
# A shortcut holds its working folder as a UTF-16 string of its own, after its length: the
# program folder (the target is the only other string that contains it, and goes on after it).
for lnk in "$desktop/$title.lnk" "$menu/$title.lnk"; do
    strings -el "$lnk" | grep -q "${folder//\\/\\\\}\$" || fail "$lnk does not start the program inside $folder"
done
echo "installed into $folder, with shortcuts on the desktop and in the Start menu"

# Installed again over it: files that hold records stay exactly as they are, a missing one is made.
printf 'records' >>"$dir/uinfo.dat"
rm "$dir/database/snote.dat"
before=$(sums "$dir" | grep -v snote.dat)
"$wine" "$setup" /S || fail "the installer ended with $? over an installation"
[ -f "$dir/database/snote.dat" ] || fail "installing again did not make the missing database/snote.dat"
[ "$(sums "$dir" | grep -v snote.dat)" = "$before" ] || fail "installing again changed a data file"
echo "installed again: every data file kept, the missing one made"

# Uninstalled (silently: the data files are kept unless the person ticks their removal).
"$wine" "$dir/uninstall.exe" /S "_?=$folder" || fail "the uninstaller ended with $?"
for f in lumno.exe Qt6Core.dll platforms/qwindows.dll help/help.htm; do
    [ ! -e "$dir/$f" ] || fail "the uninstaller left $f"
done
[ "$(sums "$dir" | grep -v snote.dat)" = "$before" ] || fail "the uninstaller changed or removed a data file"
for lnk in "$desktop/$title.lnk" "$menu/$title.lnk"; do
    [ ! -e "$lnk" ] || fail "the uninstaller left $lnk"
done
! win reg.exe query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumno' >/dev/null ||
    fail "the uninstaller left its entry in the registry"
echo "uninstalled: program and shortcuts gone, data files kept"
rm -rf "$dir"
