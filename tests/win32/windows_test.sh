#!/usr/bin/env bash
# The Windows program, from the Linux suite. Skipped with a message (77) where MinGW-w64, wixl or
# Wine is missing (scripts/setup.sh test installs them).
#   windows_test.sh build SOURCE_DIR OUT    cross-build it; system DLLs only
#   windows_test.sh prefix PREFIX           a Wine prefix for the run (made once, then reused)
#   windows_test.sh inprocess OUT [de]      the in-process tests under Wine
#   windows_test.sh installer OUT           the installer installs and uninstalls, per user
set -euo pipefail
wine=/usr/lib/wine/wine64
for tool in x86_64-w64-mingw32-g++ wixl msibuild rsvg-convert "$wine"; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool not found (scripts/setup.sh windows installs it)"
        exit 77
    fi
done
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
what=$1
shift
case "$what" in
build)
    source=$1 out=$2
    BUILD_DIR=$out "$source/scripts/windows.sh" -DBUILD_TESTING=ON >/dev/null
    imports=$(x86_64-w64-mingw32-objdump -p "$out/quorvane.exe" | sed -n 's/.*DLL Name: //p' | sort)
    echo "imports:" $imports
    if echo "$imports" | grep -viqE '^(kernel32|user32|gdi32|comctl32|ole32|oleaut32|msvcrt|advapi32|shell32|uxtheme|version)\.dll$'; then
        echo "FAILED: imports a DLL that is not Windows' own"
        exit 1
    fi
    echo "ok: only Windows' own DLLs"
    # Every imported function is one that Windows 7 SP1 has: the newer ones are looked up at run
    # time. The list names each DLL and function allowed.
    x86_64-w64-mingw32-objdump -p "$out/quorvane.exe" |
        awk '/DLL Name:/ { dll = tolower($3); next }
             dll && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll, $3 }
             /^$/ { dll = "" }' | sort -u >"$out/imports.txt"
    unknown=$(grep -v '^#' "$(dirname "$0")/windows7-imports.txt" | sort -u | comm -23 "$out/imports.txt" -)
    if [ -n "$unknown" ]; then
        echo "FAILED: imports that Windows 7 SP1 may lack (not in windows7-imports.txt):" $unknown
        exit 1
    fi
    echo "ok: every import is in Windows 7 SP1 ($(wc -l <"$out/imports.txt") functions)"
    ;;
prefix)
    prefix=$1
    export WINEPREFIX=$prefix
    if [ ! -f "$prefix/system.reg" ]; then
        timeout 120 "$wine" wineboot -i >/dev/null 2>&1
        # A crash must fail the test, not wait for ever in a dialog.
        "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            >/dev/null 2>&1
        timeout 60 /usr/lib/wine/wineserver -w
    fi
    echo "ok: Wine prefix $prefix"
    ;;
inprocess)
    out=$1 locale=${2:-}
    environment=(LC_ALL=C)
    [ "$locale" = de ] && environment=(LC_ALL=de_DE.UTF-8)
    exe="Z:${out//\//\\}\\quorvane.exe"  # the path as Wine sees it
    exec xvfb-run -a env "${environment[@]}" timeout 120 "$wine" "$out/tests/win32/win32_tests.exe" \
        "$exe" $locale
    ;;
installer)
    out=$1
    msi="Z:${out//\//\\}\\quorvane-1.00-x64.msi"
    programs="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Programs/Quorvane Calculator"
    menu="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
    # Refuses, with a message, a Windows older than the executable runs on.
    msiinfo export "$out/quorvane-1.00-x64.msi" LaunchCondition | tr -d '\r' >"$out/launch.txt"
    grep -q 'VersionNT = 601 AND ServicePackLevel >= 1' "$out/launch.txt"
    grep -q 'needs Windows 7 with Service Pack 1' "$out/launch.txt"
    echo "ok: refuses Windows before 7 SP1"
    timeout 120 "$wine" msiexec /i "$msi" /qn
    test -f "$programs/quorvane.exe" && test -f "$menu/Quorvane Calculator.lnk"
    cmp "$programs/quorvane.exe" "$out/quorvane.exe"
    "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        tr -d '\r' | grep -E 'Display(Name|Version)|Publisher' | sort >"$out/arp.txt"
    cat "$out/arp.txt"
    grep -q 'DisplayName    REG_SZ    Quorvane Calculator' "$out/arp.txt"
    grep -q 'DisplayVersion    REG_SZ    1.00' "$out/arp.txt"
    grep -q 'Publisher    REG_SZ    the Quorvane Calculator developers' "$out/arp.txt"
    echo "ok: installed for this user, with its shortcut and its entry"
    timeout 120 "$wine" msiexec /x "$msi" /qn
    if [ -e "$programs" ] || [ -e "$menu/Quorvane Calculator.lnk" ]; then
        echo "FAILED: the uninstall left files behind"
        exit 1
    fi
    echo "ok: uninstalled clean"
    ;;
esac
