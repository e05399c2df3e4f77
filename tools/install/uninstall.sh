#!/usr/bin/env bash
# make uninstall: removes what make install put in PREFIX, but never the save files (nor anything else in the
# sound folder that the game did not install).
# usage: uninstall.sh PREFIX
set -eu
prefix=$1
home=$prefix/share/mofuran

rm -f "$prefix/bin/mofuran" "$prefix/share/applications/mofuran.desktop"
for size in 48 128 256; do rm -f "$prefix/share/icons/hicolor/${size}x${size}/apps/mofuran.png"; done
icons=$prefix/share/icons/hicolor
if [ -f "$icons/icon-theme.cache" ] && command -v gtk-update-icon-cache >/dev/null; then
  gtk-update-icon-cache -q -t "$icons" || true
fi
rm -f "$home/mofuran"
rm -rf "$home/sozaiMofuran"
# The sounds only: the save files and the crash-safe save's leftovers stay in the sound folder.
[ -d "$home/soundMofuran" ] && find "$home/soundMofuran" -maxdepth 1 -type f -iname '*.wav' -delete
rmdir "$home/soundMofuran" "$home" 2>/dev/null || true
# The folders install made, when nothing else is left in them (never PREFIX itself).
for size in 48 128 256; do
  rmdir "$icons/${size}x${size}/apps" "$icons/${size}x${size}" 2>/dev/null || true
done
rmdir "$icons" "$prefix/share/icons" "$prefix/share/applications" "$prefix/bin" 2>/dev/null || true
rmdir "$prefix/share" 2>/dev/null || true

echo "uninstalled モフラン from $prefix"
if [ -e "$home/soundMofuran/DataFiles" ] || [ -e "$home/soundMofuran/VBDSND1.DLL" ]; then
  echo "the save files are kept in $home/soundMofuran"
fi
