# Shared by the stand-in report programs (ORV_B1 to ORV_B9, ORV_B6N, ORV_BD); sourced,
# not run. orv_report PROGRAM TITLE MODE REQUEST reads the request file REQUEST (in the current
# folder, as the front end runs it) and writes REQUEST's stem with ".rep": the title, how the
# program was called and every line of the request, so tests can see what was asked for.
# Knobs: no_report or <program>.no_report (finish without writing a report);
# delay or <program>.delay (a slow run; handled by sim_call); report_pad or
# <program>.report_pad N (N more bytes of "x" lines after the request: a report large enough
# to be cut off in the middle of its transfer).
orv_report() {
    local prog=$1 title=$2
    shift 2
    local mode=${1-} request=${2-}
    if [ "$mode" != 2 ] || [ -z "$request" ] || [ $# -ne 2 ]; then
        echo "usage: $prog 2 REQUEST" >&2
        return 2
    fi
    if [ ! -f "$request" ]; then
        echo "$prog: no request file $request" >&2
        return 1
    fi
    orv_failed "$prog" && return 1
    if sim_knob no_report >/dev/null || sim_knob "$prog.no_report" >/dev/null; then
        return 0
    fi
    local report=${request%.*}.rep
    local tmp=.${report##*/}.$$
    {
        printf '%s\n' "$title"
        printf 'Program: %s %s %s\n' "$prog" "$mode" "$request"
        printf 'Request:\n'
        cat -- "$request"
        local pad
        pad=$(sim_knob_value "$prog.report_pad" || sim_knob_value report_pad) || pad=
        case "$pad" in
            '' | *[!0-9]*) ;;
            *) head -c "$pad" /dev/zero | tr '\0' x | fold -w 79 && echo ;;
        esac
    } >"$tmp" || { rm -f -- "$tmp"; return 1; }
    chmod 664 -- "$tmp"
    sim_own "$tmp"
    mv -f -- "$tmp" "$report"
}

# Knob report_fail or <program>.fail: the program says it failed on stderr, writes nothing and
# exits 1 (for every report program, the audit program too).
orv_failed() {
    local prog=$1
    sim_knob report_fail >/dev/null || sim_knob "$prog.fail" >/dev/null || return 1
    echo "$prog: the report could not be made" >&2
}

# The audit program (ORV_B3): orv_audit CODE, CODE one of 1, 1c, 2, 2c. It reads no request
# file and writes sum.rep in the current folder: the title and how it was called. Knobs as
# orv_report's.
orv_audit() {
    case ${1-}:$# in
        1:1 | 1c:1 | 2:1 | 2c:1) ;;
        *)
            echo "usage: ORV_B3 1|1c|2|2c" >&2
            return 2
            ;;
    esac
    orv_failed ORV_B3 && return 1
    if sim_knob no_report >/dev/null || sim_knob ORV_B3.no_report >/dev/null; then
        return 0
    fi
    local tmp=.sum.rep.$$
    printf 'Audit Report\nProgram: ORV_B3 %s\n' "$1" >"$tmp" || { rm -f -- "$tmp"; return 1; }
    chmod 664 -- "$tmp"
    sim_own "$tmp"
    mv -f -- "$tmp" sum.rep
}
