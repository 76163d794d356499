# Sourced by end-to-end scripts that run the program from a scratch program directory; they set
# MAX_RUNTIME (seconds for the whole run, below the test runner's limit) beforehand.
work="" progdir="" xvfb_pid="" app_pid="" run=0

# require_tools <tool>...: ends the run unless every tool is installed.
require_tools() {
    local tool
    for tool; do
        if ! command -v "$tool" >/dev/null; then
            echo "FAIL: $tool is not installed (scripts/install-deps.sh installs it)" >&2
            exit 1
        fi
    done
}

# make_program_dir <name>: sets work, a scratch directory removed at the end, and progdir, an
# empty program directory inside it.
make_program_dir() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX") || exit 1
    progdir=$work/program
    mkdir "$progdir" || exit 1
}

cleanup() {
    [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    [[ -n $work ]] && rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# Starts the program from outside its directory; its output goes to $work/app<run>.log.
start_app() {
    run=$((run + 1))
    (cd / && exec "$progdir/stackle") >"$work/app$run.log" 2>&1 &
    app_pid=$!
}

app_running() { kill -0 "$app_pid" 2>/dev/null; }
