#!/bin/bash
# Writes the 13 server tables as <table>.csv (LF line ends) in this program's folder, from the
# folder's table store (.tables/, which the change-request answerer keeps) or, for a table the
# store does not hold, from the fixture. Knobs: no_output (write nothing), missing_table (names
# not written, their old file removed), big_ext N (an ext table of N generated rows), delay.
. /var/lib/quillon-sim/lib.sh
sim_call "$0" "$@"

sim_knob no_output >/dev/null && exit 0

here=$(cd "$(dirname "$0")" && pwd)
tables="ext line dpt div trunk lt account ac calc rate cc lc ld"
missing=" $(sim_knob missing_table | tr -s '\n\t,' '   ') "
big_ext=$(sim_knob_value big_ext) || big_ext=

for t in $tables; do
    out=$here/$t.csv
    case $missing in *" $t "*)
        rm -f -- "$out"
        continue
        ;;
    esac
    tmp=$here/.$t.csv.$$
    if [ "$t" = ext ] && [ -n "$big_ext" ]; then
        # Extension, name, department, equipment cost, credit, overhead, total usage, other.
        awk -v n="$big_ext" 'BEGIN {
            for (i = 0; i < n; i++)
                printf "%d,Station %d,%d,%.2f,0.00,%.2f,%d,\n", 10000 + i, 10000 + i, 100 + i % 7, (i % 13) * 1.25, (i % 5) * 0.5, i % 97
        }' >"$tmp"
    else
        src=$SIM_FIXTURES/tables/$t.csv
        if [ -f "$here/.tables/$t.csv" ]; then src=$here/.tables/$t.csv; fi
        # Whatever the source's line ends, the server writes LF and ends the last line.
        awk '{ sub(/\r$/, ""); print }' "$src" >"$tmp" 2>/dev/null || : >"$tmp"
    fi
    chmod 664 -- "$tmp"
    sim_own "$tmp"
    mv -f -- "$tmp" "$out"
done
exit 0
