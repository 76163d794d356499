#!/usr/bin/env bash
# Installs Stackle for one user, or removes what it installed. No root needed.
#
#   scripts/install.sh install <build-dir> <prefix> [autostart]
#   scripts/install.sh uninstall <prefix>
#
# install puts the program and its blank slot icon into <prefix> (Stackle keeps its settings,
# lists and notes beside itself, so <prefix> must stay writable), the program's icon into the
# user's icon theme folder, a menu entry into the user's applications folder and, with
# autostart = 1, an entry that starts it at login. What it wrote, and the folders it made, are
# listed in <prefix>/.stackle-installed; uninstall removes exactly those, never the user's
# settings, lists or notes, and a folder only when nothing else is left in it.
set -euo pipefail

data_home=${XDG_DATA_HOME:-$HOME/.local/share}
config_home=${XDG_CONFIG_HOME:-$HOME/.config}
source_dir=$(cd "$(dirname "$0")/.." && pwd)

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

desktop_entry() {
    cat <<ENTRY
[Desktop Entry]
Type=Application
Name=Stackle
Comment=A launcher strip that stays on top of all windows
Exec=$(exec_quoted "$1")
Icon=stackle
Terminal=false
Categories=Utility;
ENTRY
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
    local icon=$data_home/icons/hicolor/32x32/apps/stackle.png
    local menu=$data_home/applications/stackle.desktop
    local login=$config_home/autostart/stackle.desktop
    local files=("$prefix/stackle" "$prefix/empty.ico" "$icon" "$menu")

    install -m 755 "$build/bin/stackle" "$prefix/stackle"
    install -m 644 "$build/bin/empty.ico" "$prefix/empty.ico"
    make_directory "$(dirname "$icon")"
    install -m 644 "$source_dir/resources/stackle.png" "$icon"
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

# Removes the files install listed, then the folders it made, the deepest first, where they
# are empty: a program folder that holds the user's settings, lists or notes stays.
uninstall_stackle() {
    local prefix=$1
    local manifest=$prefix/.stackle-installed kind path folders=()
    [[ -f $manifest ]] || die "nothing of Stackle is installed in $prefix"
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
