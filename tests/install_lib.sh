# Shared by the install tests: what an install puts under its prefix.
DESKTOP_IDS="de.wellenlehre.wavesum de.wellenlehre.waveprint"
PROGRAMS="wavesum waveprint"
PACKAGE=wellenlehre

# Every installed file, relative to the prefix, one a line.
expected_files() {
  local p id size
  for p in $PROGRAMS; do echo "bin/$p"; echo "share/man/man1/$p.1.gz"; done
  echo "share/doc/$PACKAGE/copyright"
  echo "share/doc/$PACKAGE/changelog.Debian.gz"
  echo "share/lintian/overrides/$PACKAGE"
  for id in $DESKTOP_IDS; do
    echo "share/applications/$id.desktop"
    echo "share/metainfo/$id.metainfo.xml"
    echo "share/icons/hicolor/scalable/apps/$id.svg"
    for size in 48x48 256x256; do echo "share/icons/hicolor/$size/apps/$id.png"; done
  done
}

# The value of key $2 in desktop entry $1.
desktop_key() { sed -n "s/^$2=//p" "$1"; }
