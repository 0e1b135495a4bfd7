# The default browser: the recorder, built as firefox.exe, opens "http" addresses.
WINE=${WINE:-/usr/lib/wine/wine64}
EXE=$(printf "%s" "Z:$BINDIR/firefox.exe" | tr / '\\')
$WINE reg add 'HKCR\http\shell\open\command' /ve /d "\"$EXE\" \"%1\"" /f >/dev/null 2>&1
$WINE reg add 'HKCR\https\shell\open\command' /ve /d "\"$EXE\" \"%1\"" /f >/dev/null 2>&1
