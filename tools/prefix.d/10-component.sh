# The reference package information component: registered by the regsvr32 of its own
# architecture (the 32-bit one for a 32-bit build) from the build's bin folder
# when it has been built (suites that need it depend on it).
WINE=${WINE:-/usr/lib/wine/wine64}
DLL="$BINDIR/PackageInfoServer.dll"
if [ ! -f "$DLL" ]; then
  echo "10-component: $DLL not built; the package information component stays unregistered" >&2
  exit 0
fi
WINDLL=$(printf "%s" "Z:$DLL" | tr / '\\')
if ! $WINE regsvr32 /s "$WINDLL" >/dev/null 2>&1; then
  echo "10-component: registering $WINDLL failed" >&2
fi
exit 0
