#!/usr/bin/env bash
# Checks the Windows zip and installer of scripts/package-windows under Wine (WINEPREFIX and
# DISPLAY as scripts/test-windows sets them):
#   the zip's programs run from a fresh folder with nothing else on the path: zqskin reads the
#   sample skin, the designer maps its window (its DLLs and platform plugin load);
#   the installer installs silently into a new folder, for the current user, with a Start-menu
#   entry; the installed zqskin prints the version; the uninstaller removes every file and the entry.
set -euo pipefail
package=${1:-build-windows/package}
version=$(sed -n 's/^project([^ ]* VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
zip=$package/zqskin-designer-$version-win64.zip
setup=$package/zqskin-designer-$version-win64-setup.exe
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "check-package: $*" >&2; failures=$((failures + 1)); }
# Nothing from the build's folders: only what the package carries.
unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM
# Missing DLLs are reported by Wine's loader only.
export WINEDEBUG=err+module

[ -s "$zip" ] || { echo "check-package: no $zip" >&2; exit 1; }
[ -s "$setup" ] || { echo "check-package: no $setup" >&2; exit 1; }

# --- the zip ---
unzip -q "$zip" -d "$work/zip"
folder=$work/zip/zqskin-designer-$version-win64
for f in zqdesigner.exe zqskin.exe README.txt sample-skin/ZqCSkin.ini sample-skin/zqLOCKPIC.jpg \
  platforms/qwindows.dll; do
  [ -s "$folder/$f" ] || fail "the zip has no $f"
done
cd "$folder"
wine zqskin.exe --version >"$work/out" 2>"$work/err" || fail "zqskin.exe --version failed: $(cat "$work/err")"
grep -q "$version" "$work/out" || fail "zqskin.exe --version printed $(cat "$work/out")"
wine zqskin.exe check sample-skin >"$work/out" 2>>"$work/err" || fail "zqskin.exe check sample-skin: $(cat "$work/out")"
if grep -i 'not found\|import_dll' "$work/err"; then fail "the zip's zqskin misses a DLL"; fi
# The designer opens the sample skin on the display and is closed once its window is up.
: >"$work/err"
wine zqdesigner.exe sample-skin/ZqCSkin.ini 2>"$work/err" &
designer=$!
shown=
for _ in $(seq 120); do
  if xdotool search --onlyvisible --name '^Zenqa' >/dev/null 2>&1 || xdotool search --onlyvisible --name 'ZqCSkin' >/dev/null 2>&1; then
    shown=yes
    break
  fi
  kill -0 "$designer" 2>/dev/null || break
  sleep 0.5
done
[ -n "$shown" ] || fail "the zip's designer showed no window: $(head -c 2000 "$work/err")"
if grep -i 'not found\|import_dll\|could not load the Qt platform plugin' "$work/err"; then
  fail "the zip's designer misses a DLL or its platform plugin"
fi
kill "$designer" 2>/dev/null || true
wineserver -k 2>/dev/null || true
wait "$designer" 2>/dev/null || true
cd - >/dev/null

# --- the installer ---
target='C:\zq-install-test'
unix_target=$WINEPREFIX/drive_c/zq-install-test
rm -rf "$unix_target"
wine "$setup" /S "/D=$target" 2>"$work/err" || fail "the installer failed: $(cat "$work/err")"
wineserver -w
for f in zqdesigner.exe zqskin.exe Uninstall.exe platforms/qwindows.dll sample-skin/ZqCSkin.ini; do
  [ -s "$unix_target/$f" ] || fail "the installer put no $f in $target"
done
(cd "$unix_target" && diff -r "$folder" . -x Uninstall.exe -q) >"$work/diff" 2>&1 ||
  fail "the installed files are not the zip's: $(cat "$work/diff")"
shortcut=$(find "$WINEPREFIX/drive_c/users" -path '*Start Menu/Programs/*' -name 'Zenqa skin designer.lnk' | head -n 1)
[ -n "$shortcut" ] || fail "no Start-menu entry for the designer"
case $shortcut in */Public/* | *ProgramData*) fail "the Start-menu entry is for all users: $shortcut" ;; esac
wine "$unix_target/zqskin.exe" --version >"$work/out" 2>/dev/null || fail "the installed zqskin.exe does not run"
grep -q "$version" "$work/out" || fail "the installed zqskin.exe --version printed $(cat "$work/out")"
installed=$(find "$unix_target" -type f | wc -l)
# The uninstaller copies itself away and returns at once: wait for the folder to go.
wine "$unix_target/Uninstall.exe" /S 2>/dev/null || fail "the uninstaller failed"
for _ in $(seq 120); do [ -e "$unix_target" ] || break; sleep 0.5; done
wineserver -w
if [ -e "$unix_target" ]; then
  fail "the uninstaller left $(find "$unix_target" | head -n 5 | tr '\n' ' ')"
fi
[ ! -e "$shortcut" ] || fail "the uninstaller left the Start-menu entry"

if [ "$failures" -ne 0 ]; then
  echo "check-package: $failures problems" >&2
  exit 1
fi
echo "Windows packages: the zip runs as it is; the installer put $installed files and the Start-menu entry, the uninstaller removed them"
