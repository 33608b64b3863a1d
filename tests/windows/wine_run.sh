#!/usr/bin/env bash
# Runs one Windows test program under Wine for ctest (the cross build's emulator).
# - Wine hands a QT_ variable to a Windows program only under the name WINEQT_…, so the test's
#   own (QT_QPA_PLATFORM, QT_SCALE_FACTOR) are passed on under that name.
# - The program's output goes through a file, printed when it ends: a process Wine starts on the
#   program's behalf (explorer.exe for its desktop) inherits the program's output and can outlive
#   it, and ctest would wait on the pipe it holds until the test's timeout.
# - A Qt test writes its log to a file too: under Wine, with no Windows console, QtTest prints
#   nothing to the output it is given.
set -u
for name in $(compgen -e); do
  case $name in QT_*) export "WINE$name=${!name}" ;; esac
done

out=$(mktemp)
log=$(mktemp)
trap 'rm -f "$out" "$log"' EXIT
args=("$@")
if grep -qa 'Qt6Test\.dll' "$1"; then
  args+=(-o "Z:${log//\//\\},txt")
fi
wine "${args[@]}" </dev/null >"$out" 2>&1
status=$?
cat "$log" "$out"
exit "$status"
