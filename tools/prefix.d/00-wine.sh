# Windows not managed by a window manager: Xvfb has none, and Wine would otherwise
# wait up to two seconds for one whenever a window is hidden.
WINE=${WINE:-/usr/lib/wine/wine64}
$WINE reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
