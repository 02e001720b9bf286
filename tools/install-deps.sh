#!/usr/bin/env bash
# Installs what building and testing KIVO needs on a Debian 12 machine (run as root; quick when present).
set -euo pipefail
packages="wine wine32:i386 fonts-wine fonts-liberation g++-mingw-w64-i686-posix xvfb xauth googletest cmake"
missing=0
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing=1
done
if [ $missing = 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  dpkg --add-architecture i386
  apt-get update -q >/dev/null
  apt-get install -y -q --no-install-recommends $packages >/dev/null
fi
# A host name that does not resolve makes every Wine start wait about ten seconds.
host=$(hostname)
if ! getent hosts "$host" >/dev/null 2>&1; then
  echo "127.0.1.1 $host" >>/etc/hosts
fi
