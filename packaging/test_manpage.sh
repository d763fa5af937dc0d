#!/usr/bin/env bash
# The manual page generator against programs whose --help is laid out in
# other ways than today's: every command is found, nothing else is taken
# for one, and a command whose --help fails still gets its section.
set -euo pipefail
gen="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fails=0

# fake NAME MAIN_HELP: a program printing MAIN_HELP for --help and, for
# "CMD --help", a usage line on stderr with status 2 when CMD is "broken",
# else on stdout with status 0.
fake() {
    local file="$work/$1"
    printf '%s\n' "$2" >"$work/$1.help"
    cat >"$file" <<SCRIPT
#!/usr/bin/env bash
if [ "\$1" = --help ]; then cat "$work/$1.help"; exit 0; fi
if [ "\$1" = broken ]; then echo "usage: nervuria broken --really" >&2; exit 2; fi
echo "Usage: nervuria \$1 [options]"
echo "  --db <PATH>  The database."
SCRIPT
    chmod +x "$file"
    echo "$file"
}

# expect CASE PROGRAM NAMES...: the page's sections are exactly NAMES.
expect() {
    local name="$1" prog="$2"
    shift 2
    local got
    if ! "$gen" "$prog" "$work/$name.1" 9.9 >"$work/$name.log" 2>&1; then
        echo "FAIL $name: the generator failed"; cat "$work/$name.log"; fails=$((fails + 1)); return
    fi
    got="$(sed -n 's/^\.SS //p' "$work/$name.1" | sed 's/\\-/-/g' | tr '\n' ' ')"
    if [ "$got" != "$* " ]; then
        echo "FAIL $name: sections '$got', expected '$* '"; fails=$((fails + 1)); return
    fi
    if ! grep -q 'nervuria broken \\-\\-really\|nervuria export \[options\]' "$work/$name.1"; then
        echo "FAIL $name: a command's own help is missing"; fails=$((fails + 1)); return
    fi
    echo "ok   $name"
}

expect "today's layout" "$(fake today 'Usage: nervuria [command] [options]
Without a command, opens the windows.

Commands:
  export     Writes templates.
  check      Reads and checks files.
  broken     Fails on --help.

nervuria COMMAND --help gives the options of a command.')" export check broken

expect "other heading, tabs" "$(fake tabs 'usage: nervuria <subcommand> [options]

Available subcommands:
	export	Writes templates.
	check, c	Reads and checks files.
	broken
Options:
  -h, --help   This text.')" export check broken

expect "names with their arguments" "$(fake args 'NERVURIA command line
COMMANDS:
    export --db PATH -o FILE    Writes templates.
    panel-list FILE             Lists a panel.
    broken')" export panel-list broken

expect "no heading" "$(fake bare 'nervuria [COMMAND]
  export   Writes templates.
  -h, --help   This text.
  broken   Fails on --help.')" export broken

# Nothing that looks like a command: the generator refuses, rather than
# writing a page without them.
if "$gen" "$(fake none 'Usage: nervuria [options]')" "$work/none.1" >/dev/null 2>&1; then
    echo "FAIL no command: a page was written"; fails=$((fails + 1))
else
    echo "ok   no command"
fi

# Compressed output is a gzip file holding the page.
"$gen" "$work/today" "$work/page.1.gz" 9.9
if ! gzip -dc "$work/page.1.gz" | grep -q '^\.TH NERVURIA 1'; then
    echo "FAIL gzip: not a compressed page"; fails=$((fails + 1))
else
    echo "ok   gzip"
fi
exit "$fails"
