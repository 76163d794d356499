#!/usr/bin/env bash
# compile_unoptimised.sh <compiler> <arguments>...: the compiler command (CMAKE_CXX_COMPILER_LAUNCHER)
# of the builds that the end-to-end tests make in fresh clones. Compiles without optimisation or
# debugging information. Run in the build folder, as ninja runs it; a compile seen before, with
# the same arguments but for the build folder and the optimisation and debugging flags, gets the
# object and dependency files it made then, from the folder COMPILE_CACHE names.
cache=${COMPILE_CACHE:?the folder of the compiles made before}
args=() object="" depfile="" previous=""
for arg; do
    case $previous in -o) object=$arg ;; -MF) depfile=$arg ;; esac
    previous=$arg
    case $arg in -O* | -g*) continue ;; esac
    args+=("${arg//"$PWD"/@BUILD@}")
done
key=$(printf '%s\0' "${args[@]}" | sha256sum) key=${key%% *}
if [[ -n $object && -f $cache/$key.o ]]; then
    cp "$cache/$key.o" "$object" || exit 1
    [[ -z $depfile ]] || sed "s|@BUILD@|$PWD|g" "$cache/$key.d" >"$depfile"
    exit
fi
"$@" -O0 -g0 || exit
[[ -n $object ]] || exit 0
mkdir -p "$cache" && cp "$object" "$cache/$key.o" || exit 1
[[ -z $depfile ]] || sed "s|$PWD|@BUILD@|g" "$depfile" >"$cache/$key.d"
