#!/usr/bin/env bash
# Installs what building and testing KIVO needs on a Debian 12 machine (run as root; quick when present).
set -euo pipefail
# wine64 and the 64-bit compiler: the tests run as 64-bit programs where 32-bit ones cannot start (test.sh).
packages="wine wine32:i386 wine64 fonts-wine fonts-liberation g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix xvfb
  xauth xdotool googletest cmake"
missing=0
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing=1
done
if [ $missing = 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  dpkg --add-architecture i386
  # A mirror caught mid-sync serves an index that its Release file does not match: try again, and if it
  # stays so, take the index as served (apt names a list file after its address, "/" as "_").
  failed=""
  for try in 1 2 3; do
    failed=$(apt-get update -q 2>&1 | sed -n 's/^E: Failed to fetch \(http[^ ]*\).*/\1/p') || true
    [ -z "$failed" ] && break
    sleep 20
  done
  for url in $failed; do
    list=/var/lib/apt/lists/$(sed -e 's#^http://##' -e 's#\.\(xz\|gz\)$##' -e 's#/#_#g' <<<"$url")
    case "$url" in
      *.xz) curl -fsS "$url" | xz -dc >"$list" || true ;;
      *.gz) curl -fsS "$url" | gzip -dc >"$list" || true ;;
    esac
  done
  apt-get install -y -q --no-install-recommends $packages >/dev/null
fi
# A host name that does not resolve makes every Wine start wait about ten seconds.
host=$(hostname)
if ! getent hosts "$host" >/dev/null 2>&1; then
  echo "127.0.1.1 $host" >>/etc/hosts
fi
