# The caption buttons' glyphs come from the Marlett font, which Windows keeps in its
# Fonts folder; without it Wine draws the letters that stand for them ("r" for close).
FONTS="$PREFIX/drive_c/windows/Fonts"
mkdir -p "$FONTS"
for font in /usr/share/wine/fonts/marlett.ttf; do
  if [ -f "$font" ]; then
    cp -f "$font" "$FONTS/"
  else
    echo "01-fonts: $font missing (package fonts-wine): caption buttons show letters" >&2
  fi
done
