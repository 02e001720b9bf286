# Sourced by the tools that run KIVO's programs (kivo.sh, test.sh, screens.sh, program-bench.sh): which build
# tree's programs this machine can run.
# KIVO is a 32-bit program, but some machines' kernels (some virtual machines) start no 32-bit program, so
# 32-bit Wine cannot start there. On such a machine the same sources are built as 64-bit programs
# (cmake/mingw-x86_64.cmake) in a tree beside the 32-bit one, named after it with "-x64", and run under 64-bit
# Wine (tools/wine-env.sh and tools/wine64 see to that for a 64-bit tree).

# Whether this machine's kernel refuses 32-bit programs: the system's wine (32-bit Wine whenever it is
# installed) then fails with the loader's "Exec format error". Our own wine64 folder on PATH is left out, as it
# starts 64-bit Wine.
kivo_no_32bit() {
  local own path
  own=$(cd "$(dirname "${BASH_SOURCE[0]}")/wine64" && pwd)
  path=:$PATH:
  path=${path//":$own:"/:}
  path=${path#:}
  [[ "$(PATH=${path%:} wine --version 2>&1 </dev/null || true)" == *"Exec format error"* ]]
}

# Whether BUILD is (or, not configured yet, will be made as) a 64-bit tree.
kivo_tree_is_64bit() {
  if [ -f "$1/CMakeCache.txt" ]; then
    grep -q '^CMAKE_TOOLCHAIN_FILE.*mingw-x86_64' "$1/CMakeCache.txt"
  else
    [ "${KIVO_TOOLCHAIN:-}" = mingw-x86_64 ]
  fi
}

# kivo_program_tree BUILD: sets KIVO_TREE to the tree whose programs run here: BUILD itself, or, where the
# kernel starts no 32-bit program and BUILD is a 32-bit tree, BUILD-x64 (and says so on the error output).
kivo_program_tree() {
  KIVO_TREE=$1
  KIVO_TREE_TOOLCHAIN=${KIVO_TOOLCHAIN:-}
  if ! kivo_tree_is_64bit "$1" && kivo_no_32bit; then
    KIVO_TREE=$1-x64
    KIVO_TREE_TOOLCHAIN=mingw-x86_64
    echo "---- this machine cannot run 32-bit programs: KIVO runs as a 64-bit program, built in $KIVO_TREE" >&2
  fi
}

# kivo_build_tree [TARGET...]: builds those targets (default: everything) of KIVO_TREE, made with its
# toolchain the first time.
kivo_build_tree() {
  KIVO_TOOLCHAIN=$KIVO_TREE_TOOLCHAIN bash "$(dirname "${BASH_SOURCE[0]}")/build.sh" "$KIVO_TREE" "$@"
}
