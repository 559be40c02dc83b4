# Sourced by the tests that start the programs. own_folders <folder> gives
# every program started afterwards a runtime, a temporary and a settings
# folder of its own under <folder> (mode 0700; the caller removes <folder>),
# so that it never meets a copy of the program or another test running on the
# same machine: no single-instance mark, socket, temporary file or setting is
# shared.
own_folders() {
    local root=$1
    mkdir -m 700 "$root/runtime" "$root/tmp" "$root/config"
    export XDG_RUNTIME_DIR="$root/runtime"
    export TMPDIR="$root/tmp"
    export XDG_CONFIG_HOME="$root/config"
}
