#!/usr/bin/env bash
# Installs Stackle for one user, or removes what it installed. No root needed.
#
#   scripts/install.sh install <build-dir> <prefix> [autostart]
#   scripts/install.sh uninstall <prefix>
#
# install puts the program, stripped, its blank slot icon and the licence of the fonts built into
# it into <prefix> (Stackle keeps its settings, lists and notes beside itself, so <prefix> must
# stay writable), the program's icon in the sizes menus and panels ask for into the user's icon
# theme folder, a menu entry into the user's applications folder and, with autostart = 1, an
# entry that starts it at login. What it wrote, and the folders it made, are listed in
# <prefix>/.stackle-installed; uninstall removes exactly those, never the user's settings, lists
# or notes, and a folder only when nothing else is left in it; it refuses while the installed
# program runs.
set -euo pipefail

data_home=${XDG_DATA_HOME:-$HOME/.local/share}
config_home=${XDG_CONFIG_HOME:-$HOME/.config}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
# The licence of the DejaVu faces built into the program, which goes with it.
fonts_licence=DejaVu-fonts-LICENSE.txt
# The icon theme sizes, in pixels, that menus, panels and docks ask for.
icon_sizes=(16 22 24 32 48 64 128 256)

die() {
    echo "install: $*" >&2
    exit 1
}

# A path as the Exec key of a desktop entry quotes it.
exec_quoted() {
    local path=$1
    path=${path//\\/\\\\\\\\}
    path=${path//\"/\\\\\"}
    path=${path//\`/\\\\\`}
    path=${path//\$/\\\\\$}
    printf '"%s"' "$path"
}

# The menu entry of the package (packaging/), its Exec line naming the program at <path>.
desktop_entry() {
    local line
    while IFS= read -r line; do
        [[ $line == Exec=* ]] && line=Exec=$(exec_quoted "$1")
        printf '%s\n' "$line"
    done <"$source_dir/packaging/stackle.desktop"
}

# Makes a directory with its missing parents, noting in created those it made.
created=()
make_directory() {
    local dir=$1 missing=()
    while [[ ! -d $dir ]]; do
        missing=("$dir" "${missing[@]}")
        dir=$(dirname "$dir")
    done
    mkdir -p "$1"
    created+=("${missing[@]}")
}

install_stackle() {
    local build=$1 prefix=$2 autostart=${3:-0}
    [[ -x $build/bin/stackle && -f $build/bin/empty.ico ]] || die "$build/bin holds no built program: run make build"
    [[ ! -f $prefix/.stackle-installed ]] || die "Stackle is installed in $prefix already: make uninstall first"
    make_directory "$prefix"
    prefix=$(cd "$prefix" && pwd)
    local icons=$data_home/icons/hicolor size icon
    local menu=$data_home/applications/stackle.desktop
    local login=$config_home/autostart/stackle.desktop
    local files=("$prefix/stackle" "$prefix/empty.ico" "$prefix/$fonts_licence" "$menu")

    install -m 755 -s "$build/bin/stackle" "$prefix/stackle"
    install -m 644 "$build/bin/empty.ico" "$prefix/empty.ico"
    install -m 644 "$source_dir/resources/fonts/LICENSE" "$prefix/$fonts_licence"
    # Each size drawn for itself (scripts/make-artwork.sh), and the drawing for any other size.
    for size in "${icon_sizes[@]}"; do
        icon=$icons/${size}x$size/apps/stackle.png
        make_directory "$(dirname "$icon")"
        install -m 644 "$source_dir/resources/icons/stackle-$size.png" "$icon"
        files+=("$icon")
    done
    icon=$icons/scalable/apps/stackle.svg
    make_directory "$(dirname "$icon")"
    install -m 644 "$source_dir/resources/icons/stackle.svg" "$icon"
    files+=("$icon")
    make_directory "$(dirname "$menu")"
    desktop_entry "$prefix/stackle" >"$menu"
    if [[ $autostart == 1 ]]; then
        make_directory "$(dirname "$login")"
        desktop_entry "$prefix/stackle" >"$login"
        files+=("$login")
    fi
    {
        printf 'file %s\n' "${files[@]}"
        ((${#created[@]} == 0)) || printf 'folder %s\n' "${created[@]}"
    } >"$prefix/.stackle-installed"
    echo "install: Stackle is in $prefix; its menu entry is $menu"
    [[ $autostart == 1 ]] && echo "install: it starts at login ($login)"
    return 0
}

# Prints the ids of the processes whose program is <program>, one a line: those this user may
# look at, which are the ones a desktop session of theirs started. A process whose program file
# was replaced or removed since it started shows it with " (deleted)" after the path.
processes_of() {
    local program=$1 exe path
    for exe in /proc/[0-9]*/exe; do
        path=$(readlink "$exe" 2>/dev/null) || continue
        [[ $path == "$program" || $path == "$program (deleted)" ]] || continue
        exe=${exe#/proc/}
        echo "${exe%/exe}"
    done
}

# Removes the files install listed, then the folders it made, the deepest first, where they
# are empty: a program folder that holds the user's settings, lists or notes stays. Refuses
# while the installed program runs, rather than remove its files from under it.
uninstall_stackle() {
    local prefix=$1
    local manifest=$prefix/.stackle-installed kind path folders=() running
    [[ -f $manifest ]] || die "nothing of Stackle is installed in $prefix"
    running=$(processes_of "$(cd "$prefix" && pwd -P)/stackle")
    [[ -z $running ]] ||
        die "Stackle is running from $prefix (process ${running//$'\n'/, }): quit it, then uninstall again"
    while IFS=' ' read -r kind path; do
        case $kind in
        file) rm -f -- "$path" ;;
        folder) folders=("$path" "${folders[@]}") ;;
        esac
    done <"$manifest"
    rm -f -- "$manifest"
    for path in "${folders[@]}"; do
        rmdir -- "$path" 2>/dev/null || true
    done
    [[ -d $prefix ]] && echo "install: $prefix keeps your settings, lists and notes"
    echo "install: Stackle is uninstalled"
}

case ${1:-} in
install) install_stackle "${2:?build directory}" "${3:?prefix}" "${4:-0}" ;;
uninstall) uninstall_stackle "${2:?prefix}" ;;
*) die "usage: $0 install <build-dir> <prefix> [autostart] | uninstall <prefix>" ;;
esac
