#!/bin/sh
# 20-firefox-profile: gives the prefix's default browser (the recorder, installed as
# firefox.exe) a Firefox profile whose HTTP proxy is the local update server on $PORT.
set -eu
WINE=${WINE:-/usr/lib/wine/wine64}
KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
APPDATA=$($WINE reg query "$KEY" /v AppData 2>/dev/null | tr -d '\r' |
  sed -n 's/^ *AppData *REG_[A-Z_]* *//p' | head -n 1)
if [ -z "$APPDATA" ]; then
  # Shell Folders is filled on first use; the profile folder is the user's Roaming one.
  APPDATA=$($WINE cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r' | head -n 1)
  $WINE reg add "$KEY" /v AppData /d "$APPDATA" /f >/dev/null 2>&1
fi
UNIX_APPDATA=$($WINE winepath -u "$APPDATA" 2>/dev/null | tr -d '\r')
if [ -z "$UNIX_APPDATA" ]; then
  echo "20-firefox-profile: no AppData folder in the prefix" >&2
  exit 1
fi
PROFILES="$UNIX_APPDATA/Mozilla/Firefox/Profiles"
mkdir -p "$PROFILES/vantorix.default"
cat >"$PROFILES/vantorix.default/prefs.js" <<PREFS
// Mozilla User Preferences

user_pref("browser.startup.homepage", "about:blank");
user_pref("network.proxy.http", "127.0.0.1");
user_pref("network.proxy.http_port", $PORT);
user_pref("network.proxy.type", 1);
PREFS
