#!/usr/bin/env bash
# Checks a built Debian package without installing it: unpacked into a
# throw-away root, it must hold the program, its desktop entry (valid), the
# icon in every size, the help, the sample, the manual page naming every
# command of the program's --help, and depend on what the program uses at
# run time without linking it.
#   check_package.sh nervuria_<version>_amd64.deb
set -euo pipefail
deb="$1"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
fails=0
fail() {
    echo "FAIL: $*"
    fails=$((fails + 1))
}

dpkg -x "$deb" "$root"

for f in usr/bin/nervuria \
    usr/share/applications/nervuria.desktop \
    usr/share/icons/hicolor/scalable/apps/nervuria.svg \
    usr/share/man/man1/nervuria.1.gz \
    usr/share/doc/nervuria/copyright \
    usr/share/nervuria/sample/Profils.pro \
    usr/share/nervuria/sample/NERVURIA.HLP \
    usr/share/nervuria/sample/dico.txt \
    usr/share/nervuria/sample/Airfoils/NACA4/n2412.dat; do
    [ -s "$root/$f" ] || fail "missing $f"
done
[ -x "$root/usr/bin/nervuria" ] || fail "usr/bin/nervuria is not executable"

# Everything under /usr, nothing made by scripts: dpkg -r removes it all.
outside="$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v -E '^\./(usr/.*)?$' || true)"
[ -z "$outside" ] || fail "files outside /usr: $outside"
scripts="$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E 'inst|rm$' || true)"
[ -z "$scripts" ] || fail "maintainer scripts: $scripts"

# The program looks for its sample where the package puts it.
grep -q -a '/usr/share/nervuria/sample' "$root/usr/bin/nervuria" ||
    fail "the program does not look for its sample in /usr/share/nervuria/sample"

# Each PNG is a PNG of its folder's size (width and height from its header).
for size in 16 24 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x${size}/apps/nervuria.png"
    if [ ! -s "$png" ]; then
        fail "missing ${size}x${size} icon"
        continue
    fi
    header="$(od -A n -t x1 -j 0 -N 24 "$png" | tr -d ' \n')"
    [ "${header:0:16}" = 89504e470d0a1a0a ] || fail "${size}x${size} icon is not a PNG"
    w=$((16#${header:32:8}))
    h=$((16#${header:40:8}))
    [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "${size}x${size} icon is ${w}x${h}"
done

desktop="$root/usr/share/applications/nervuria.desktop"
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
grep -qx 'Exec=nervuria' "$desktop" || fail "the desktop entry does not start nervuria"
grep -qx 'Icon=nervuria' "$desktop" || fail "the desktop entry does not name the icon"

# The manual page holds every command that the program lists.
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
help="$(XDG_RUNTIME_DIR="$root" "$root/usr/bin/nervuria" --help 2>/dev/null || true)"
commands="$(printf '%s\n' "$help" |
    sed -n '/[Cc]ommands*:[[:space:]]*$/,/^[^[:space:]]/p' |
    sed -n 's/^[[:space:]]\{1,\}\([a-z][a-z0-9_-]*\).*/\1/p')"
[ -n "$commands" ] || fail "no command found in nervuria --help"
page="$(gzip -dc "$root/usr/share/man/man1/nervuria.1.gz" | sed 's/\\-/-/g')"
for c in $commands; do
    printf '%s\n' "$page" | grep -qx "\.SS $c" || fail "the manual page has no section for '$c'"
done
if command -v man >/dev/null; then
    warnings="$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/nervuria.1.gz" 2>&1 >/dev/null || true)"
    [ -z "$warnings" ] || fail "the manual page: $warnings"
fi

depends="$(dpkg-deb -f "$deb" Depends)"
for d in libqt6widgets6 libqt6svg6 fonts-liberation qt6-translations-l10n; do
    printf '%s\n' "$depends" | grep -q "\b$d\b" || fail "no dependency on $d"
done

if [ "$fails" -gt 0 ]; then
    echo "$deb: $fails check(s) failed"
    exit 1
fi
echo "$deb: $(dpkg-deb -c "$deb" | wc -l) entries, commands: $(echo $commands), all checks passed"
