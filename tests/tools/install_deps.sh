#!/bin/sh
# install-deps on a mirror mid-sync: apt-get's update always fails, nothing counts as
# installed on amd64 with i386 added, and install fails for the package named in
# STUB_FAIL. dpkg's state is not touched.
stub=$(mktemp -d); trap 'rm -rf "$stub"' EXIT; fails=0
printf '#!/bin/sh\nexit 1\n' >"$stub/dpkg-query"; printf '#!/bin/sh\n' >"$stub/sleep"
printf '#!/bin/sh\ncase "$1" in --print-architecture) echo amd64;; --print-foreign*) echo i386;; esac\n' >"$stub/dpkg"
cat >"$stub/apt-get" <<'STUB'
#!/bin/sh
echo "$*" >>"$STUB_DIR/log"
[ "$1" != update ] || { echo "E: File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2; exit 100; }
for p; do [ "$p" != "$STUB_FAIL" ] || exit 100; done
STUB
chmod +x "$stub"/*
run() {  # STUB_FAIL, expected status, expected standard error line
  rm -f "$stub/log"; err=$(STUB_FAIL=$1 STUB_DIR=$stub PATH="$stub:$PATH" sh "$(dirname "$0")/../../tools/install-deps" 2>&1 >/dev/null); status=$?
  if [ $status -ne "$2" ] || ! printf '%s\n' "$err" | grep -qxF "$3" || [ "$(grep -c '^update' "$stub/log")" -ne 3 ] ||
     ! grep -q '^install -y -qq cmake make ' "$stub/log"; then
    echo "FAILED with '$1' ($status): $err"; fails=$((fails + 1))
  fi
}
run "" 0 "install-deps: apt-get update failed 3 times; going on with the package lists at hand"
run zip 1 "install-deps: the required package zip could not be installed; retry later, when the package mirror has synced, or install zip by hand"
run wine32:i386 0 "install-deps: wine32:i386 could not be installed; going on with the 64-bit build (retry later for the 32-bit program)"
echo "$((3 - fails)) passed, $fails failed"; [ $fails -eq 0 ]
