#!/usr/bin/env bash
# Runs a Windows program under the build tree's Wine prefix: wine-run.sh BUILD PROGRAM [ARGS...]
# Used by CMake as the cross-compiling emulator, so ctest starts every test executable through it.
set -e
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" "$1"
shift
exec wine "$@"
