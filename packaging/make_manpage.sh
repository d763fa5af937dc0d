#!/usr/bin/env bash
# Writes the manual page from the program's own --help texts, so that it
# follows the command line as it changes:
#   make_manpage.sh PROGRAM OUTPUT [VERSION [SAMPLE_FOLDER]]
# The subcommands are the names listed under the "Commands:" heading of
# `PROGRAM --help` (any heading with "command" in it); each one's page comes
# from `PROGRAM NAME --help`. Exit statuses are not relied on, only the
# texts. OUTPUT ending in .gz is compressed.
set -euo pipefail
prog="$1"
out="$2"
version="${3:-}"
sample="${4:-/usr/share/nervuria/sample}"
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 LANG=C.UTF-8
# An instrumented build may run this too; its exit at the end is not our concern.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"

# Qt warns about a missing runtime folder on stderr, which we read too.
runtime="$(mktemp -d)"
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime"

# The program under the name a user types, as its usage lines show it.
run() {
    (exec -a nervuria "$prog" "$@" 2>&1 </dev/null) || true
}

main_help="$(run --help)"

# The names: indented lines under a heading that names commands, up to the
# next line that is not indented; the first word of each, when it looks like
# a command (lower case, no leading dash). Without such a heading, every
# indented line that starts with such a word and then two blanks.
commands="$(printf '%s\n' "$main_help" | awk '
    function take(line,   w) {
        sub(/^[ \t]+/, "", line)
        w = line
        sub(/[ \t,:].*$/, "", w)
        if (w ~ /^[a-z][a-z0-9_-]*$/ && !(w in seen)) { seen[w] = 1; print w }
    }
    tolower($0) ~ /command[s]?[^a-z]*:[ \t]*$/ && $0 !~ /^[ \t]/ { inlist = 1; found = 1; next }
    inlist && /^[ \t]+[^ \t]/ { take($0); next }
    inlist && /^[ \t]*$/ { if (length(seen) > 0) inlist = 0; next }
    inlist { inlist = 0 }
    { lines[++n] = $0 }
    END {
        if (found) exit
        for (i = 1; i <= n; ++i)
            if (lines[i] ~ /^[ \t]+[a-z][a-z0-9_-]*([ \t][ \t]|$)/) take(lines[i])
    }')"

if [ -z "$commands" ]; then
    echo "make_manpage: no command found in the output of $prog --help:" >&2
    printf '%s\n' "$main_help" >&2
    exit 1
fi

# roff: backslashes escaped, dashes kept as dashes, lines that would start
# with a control character made plain text.
roff() {
    sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^\([.']\)/\\\\\&\1/"
}

section() {
    printf '.PP\n.nf\n'
    printf '%s\n' "$1" | roff
    printf '.fi\n'
}

page="$(
    printf '.TH NERVURIA 1 "" "nervuria %s" "User Commands"\n' "$version"
    cat <<'EOF'
.SH NAME
nervuria \- full-size wing rib templates for model aircraft
.SH SYNOPSIS
.B nervuria
.br
.B nervuria
.I COMMAND
.RI [ OPTIONS ]
.SH DESCRIPTION
Without a command,
.B nervuria
opens its windows: a catalogue of airfoil coordinate files (checked and
repaired) and a database of chosen airfoils,
.IR Profils.pro ,
from which full\-size rib templates are drawn, printed at 1:1 and exported
for laser cutters and CNC machines.
.PP
The database is looked for in the current folder. When it is not there,
the program says so and asks for its folder, offering first a copy of the
sample data in
.IR ~/NERVURIA .
.PP
With a command, it works without windows and without a display, and ends
with a status that tells how the work went.
.SH OVERVIEW
EOF
    section "$main_help"
    echo '.SH COMMANDS'
    for c in $commands; do
        help="$(run "$c" --help)"
        # A command that has no help of its own yet: its line of the list.
        if ! printf '%s\n' "$help" | grep -qi 'usage'; then
            help="$(printf '%s\n' "$main_help" | grep -E "^[[:space:]]+$c([[:space:],:]|\$)" | head -n 1 |
                sed 's/^[[:space:]]*//')"
        fi
        printf '.SS %s\n' "$(printf '%s' "$c" | roff)"
        section "$help"
    done
    cat <<'EOF'
.SH FILES
.TP
.I Profils.pro
The airfoil database, with the templates and their figures, in the data folder.
.TP
.I Airfoils/
The catalogue's coordinate files, in subfolders, beside
.I dico.txt
(the airfoil index) and
.I NERVURIA.HLP
(the help).
.TP
.I ~/NERVURIA
The copy of the sample data offered at the first start.
EOF
    printf '.TP\n.I %s\n' "$(printf '%s' "$sample" | roff)"
    cat <<'EOF'
The installed sample data; never changed by the program.
.SH ENVIRONMENT
.TP
.B NERVURIA_SAMPLE_DIR
The sample data folder to offer instead of the installed one; empty for none.
EOF
)"

tmp="$out.tmp"
if [ "${out%.gz}" != "$out" ]; then
    printf '%s\n' "$page" | gzip -9n >"$tmp"
else
    printf '%s\n' "$page" >"$tmp"
fi
mv -f "$tmp" "$out"
