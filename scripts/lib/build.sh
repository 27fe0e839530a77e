#!/usr/bin/env bash
# What scripts/setup and scripts/sanitize give CMake when they configure a build folder. Source this file, then pass
# "${tonique_build_options[@]}" to cmake.
#
# ccache, when installed: its cache in the user's cache folder (~/.cache/ccache, or $CCACHE_DIR), so that it outlives
# the clone; paths are taken relative to the source tree, so that a clone at another path hits the same entries. The
# settings ride along in the compiler launcher, so that a later `cmake --build` outside these scripts uses them too.
# Precompiled headers are cacheable once their definitions and time macros are declared harmless.
#
# Warnings are errors when the environment variable CI is set (and not "false"), so that no warning can land.
tonique_build_options=()
if command -v ccache >/dev/null; then
    tonique_ccache=(env "CCACHE_DIR=${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/ccache}" "CCACHE_BASEDIR=$PWD"
        CCACHE_NOHASHDIR=1 CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime ccache)
    launcher=$(IFS=';' && echo "${tonique_ccache[*]}")
    tonique_build_options+=("-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher")
    unset launcher
fi
if [ -n "${CI:-}" ] && [ "${CI}" != false ]; then
    tonique_build_options+=(-DTONIQUE_WERROR=ON)
else
    tonique_build_options+=(-DTONIQUE_WERROR=OFF)
fi
