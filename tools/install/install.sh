#!/usr/bin/env bash
# make install: the game for one user, no root. The program folder PREFIX/share/mofuran holds the program, its
# pictures and its sound folder (where the save files live, so it stays the user's own and writable); PREFIX/bin
# gets a mofuran command, the desktop menu an entry and the icon theme an icon.
# usage: install.sh BUILD_FOLDER PREFIX
set -eu
build=$(cd "$1" && pwd)
prefix=$2
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
home=$prefix/share/mofuran

install -d "$home/sozaiMofuran" "$home/soundMofuran" "$prefix/bin" "$prefix/share/applications"
install -m 755 "$build/mofuran" "$home/mofuran"
install -m 644 "$build"/sozaiMofuran/*.bmp "$home/sozaiMofuran/"
# Only the game's sounds: the build's own save files stay behind, and the save files already installed are never
# overwritten.
find "$build/soundMofuran" -maxdepth 1 -type f -iname '*.wav' -exec install -m 644 {} "$home/soundMofuran/" \;

# The command runs the program from its folder, wherever it is started.
cat > "$prefix/bin/mofuran" <<EOF
#!/bin/sh
exec "$home/mofuran" "\$@"
EOF
chmod 755 "$prefix/bin/mofuran"

for size in 48 128 256; do
  install -D -m 644 "$build/icons/mofuran-$size.png" "$prefix/share/icons/hicolor/${size}x${size}/apps/mofuran.png"
done

desktop=$prefix/share/applications/mofuran.desktop
cat > "$desktop" <<EOF
[Desktop Entry]
Type=Application
Name=モフラン
Name[ja]=モフラン
GenericName=Pachislot machine
GenericName[ja]=パチスロ
Comment=A pachislot machine in a game hall
Comment[ja]=ホールのパチスロ台「モフラン」
Exec="$prefix/bin/mofuran"
Icon=mofuran
Terminal=false
Categories=Game;Simulation;
EOF
chmod 644 "$desktop"

# An icon cache already there picks the new icon up at once (a cache is never started here: a stale one would hide
# other programs' icons). Desktop menus watch the applications folder themselves.
icons=$prefix/share/icons/hicolor
if [ -f "$icons/icon-theme.cache" ] && command -v gtk-update-icon-cache >/dev/null; then
  gtk-update-icon-cache -q -t "$icons" || true
fi

echo "installed モフラン: $prefix/bin/mofuran (program folder $home)"
echo "save files: $home/soundMofuran"
