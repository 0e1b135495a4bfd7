# The default browser: the recorder, built as firefox.exe, opens "http" addresses.
EXE=$(printf "%s" "Z:$BINDIR/firefox.exe" | tr / '\\')
/usr/lib/wine/wine64 reg add 'HKCR\http\shell\open\command' /ve /d "\"$EXE\" \"%1\"" /f >/dev/null 2>&1
/usr/lib/wine/wine64 reg add 'HKCR\https\shell\open\command' /ve /d "\"$EXE\" \"%1\"" /f >/dev/null 2>&1
