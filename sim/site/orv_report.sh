# Shared by the stand-in report programs (ORV_B1, ORV_B5, ORV_B6, ORV_B6N, ORV_B8); sourced,
# not run. orv_report PROGRAM TITLE MODE REQUEST reads the request file REQUEST (in the current
# folder, as the front end runs it) and writes REQUEST's stem with ".rep": the title, how the
# program was called and every line of the request, so tests can see what was asked for.
# Knobs: no_report or <program>.no_report (finish without writing a report);
# delay or <program>.delay (a slow run; handled by sim_call).
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
    } >"$tmp" || { rm -f -- "$tmp"; return 1; }
    chmod 664 -- "$tmp"
    sim_own "$tmp"
    mv -f -- "$tmp" "$report"
}
