#!/bin/sh
# Runs the installed RIVO-IV from BINDIR without a display and checks the installed data files
# under SHAREDIR:  check_installed.sh BINDIR SHAREDIR
# Used on a DESTDIR install by the test run and on the installed Debian package by the CI.
set -eu
bin="$1"
share="$2"
here="$(cd "$(dirname "$0")" && pwd)"
app=se.rivoiv.RIVO_IV
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# --help and --version answer on standard output with exit code 0; no command is a usage error.
expect() {
    out="$("$bin/$1" "$2")" || fail "$1 $2 ended with an error"
    echo "$out" | grep -q -e "$3" || fail "$1 $2 printed: $out"
}
expect rivo-admin --version '^rivo-admin (RIVO-IV) [0-9]'
expect rivo-admin --help '^  rivo-admin init-db'
expect RIVO_IV --version '^RIVO-IV [0-9]'
expect RIVO_IV --help '--data-folder'
rc=0
"$bin/rivo-admin" >/dev/null 2>&1 || rc=$?
[ "$rc" -eq 1 ] || fail "rivo-admin without a command ended with $rc"
# libstavro is found through the programs' run path, not through the environment.
for program in RIVO_IV rivo-admin; do
    env -u LD_LIBRARY_PATH ldd "$bin/$program" | grep -q 'libstavro\.so\.1 => .*/rivo-iv/libstavro\.so\.1 ' ||
        fail "$program does not find libstavro.so.1 in its own folder"
done

# A database, one stored person, and the report without a window.
cd "$work"
printf 'demo123\n' | "$bin/rivo-admin" init-db --user psykolog --password-stdin >/dev/null
[ "$(stat -c %a DODODA.db)" = 600 ] || fail "the new database is not the user's alone"
isql -k "DRIVER=SQLite3;Database=$work/DODODA.db" -b <"$here/one_person.sql" >/dev/null ||
    fail "cannot store the test person"
"$bin/rivo-admin" report --id 1 --json - >report.json || fail "rivo-admin report"
grep -q '"NAMN":"Eva Lind"' report.json || fail "the report lacks the person"
grep -o '"HIK":{[^}]*}' report.json | grep -q '"valid":1' || fail "the report has no full-scale IQ"
XDG_RUNTIME_DIR="$work" "$bin/rivo-admin" report --id 1 --pdf report.pdf || fail "rivo-admin --pdf"
pdfinfo report.pdf | grep -q '^Pages: *5$' || fail "the PDF report does not have five pages"
pdftotext report.pdf - | grep -q 'Eva Lind' || fail "the PDF report lacks the person"

# The program as the menu entry starts it: it makes the data folder and waits in its offer of a
# new database until it is stopped.
[ "$(sed -n 's/^Exec=//p' "$share/applications/$app.desktop")" = "RIVO_IV --data-folder" ] ||
    fail "the menu entry's command"
rc=0
XDG_DATA_HOME="$work/share" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen \
    timeout 5 "$bin/RIVO_IV" --data-folder >program.log 2>&1 || rc=$?
[ "$rc" -eq 124 ] || fail "RIVO_IV --data-folder ended with $rc: $(cat program.log)"
[ "$(stat -c %a "$work/share/RIVO-IV")" = 700 ] || fail "the data folder is not the user's alone"

for size in 16 22 24 32 48 64 128 256; do
    file -b "$share/icons/hicolor/${size}x$size/apps/$app.png" |
        grep -q "^PNG image data, $size x $size," || fail "icon $size"
done
desktop-file-validate "$share/applications/$app.desktop" || fail "the menu entry"
appstreamcli validate --no-net "$share/metainfo/$app.metainfo.xml" >/dev/null ||
    fail "the metainfo file"
for page in RIVO_IV rivo-admin; do
    gzip -dc "$share/man/man1/$page.1.gz" | grep -q '^\.SH NAMN' || fail "man page $page"
done
# The nightly backup's example service runs rivo-admin from the path.
grep -q "^ExecStart=rivo-admin backup --folder " "$share/doc/rivo-iv/examples/rivo-backup.service" ||
    fail "the example backup service"
echo "installed files work"
