# Sourced by every program of the stand-in server (installed as /var/lib/quillon-sim/lib.sh).
#   sim_call "$0" "$@"   journal "CALL <program> <args>", then sleep for the delay knob
#   sim_knob NAME        print knob NAME and succeed when it is set, else fail quietly
#   sim_under_sudo       succeed when run through the stand-in sudo

SIM_STATE=/var/lib/quillon-sim
SIM_JOURNAL=$SIM_STATE/journal
SIM_KNOBS=$SIM_STATE/knobs
SIM_FIXTURES=$SIM_STATE/fixtures

# Files a program writes must stay writable by both logins, whoever runs it.
umask 002

sim_knob() {
    [ -f "$SIM_KNOBS/$1" ] || return 1
    cat -- "$SIM_KNOBS/$1" 2>/dev/null
    return 0
}

# The text of a knob without surrounding white space; empty when the knob is not set.
sim_knob_value() {
    local v
    v=$(sim_knob "$1") || return 1
    v="${v#"${v%%[![:space:]]*}"}"
    v="${v%"${v##*[![:space:]]}"}"
    printf '%s' "$v"
}

# One journal entry: TAG and the words joined by single blanks, no trailing blank.
sim_journal() {
    local tag=$1
    shift
    local IFS=' '
    if [ $# -gt 0 ]; then
        printf '%s %s\n' "$tag" "$*" 2>/dev/null >>"$SIM_JOURNAL"
    else
        printf '%s\n' "$tag" 2>/dev/null >>"$SIM_JOURNAL"
    fi
}

sim_call() {
    local prog=${1##*/}
    shift
    sim_journal CALL "$prog" "$@"
    # The program's own delay wins over the global one.
    local d
    d=$(sim_knob_value "$prog.delay") || d=$(sim_knob_value delay) || d=
    if [ -n "$d" ]; then sleep "$d" 2>/dev/null; fi
    return 0
}

# The stand-in sudo marks what it runs; it never makes anyone root, so this is how a program
# tells "run with sudo" from "run without".
sim_under_sudo() {
    [ -n "${SIM_SUDO-}" ]
}

# For programs run under sudo: leave a file the site's group can replace, whichever login wrote
# it and wherever its folder is.
sim_own() {
    if sim_under_sudo; then
        chgrp varnel -- "$@" 2>/dev/null
        chmod g+rw,a+r -- "$@" 2>/dev/null
    fi
    return 0
}
