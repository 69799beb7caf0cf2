#!/bin/sh
# kestrova-cli against hostile pages and per-user files: deep chapter paths, control characters
# in page texts, pipes in place of its own files, a cache or an export that cannot be written.
set -u
CLI=$1
DIR=$2/kb
rm -rf "$2" && mkdir -p "$DIR/law" || exit 1
failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL $1"; printf "  expected: %s\n  actual:   %s\n" "$2" "$3"; failures=$((failures + 1))
  fi
}
ESC=$(printf '\033')
printf '<html><head><title>Start</title><meta help-id=start></head><body>quux</body></html>' \
  > "$DIR/index.html"
printf '<html><head><title>Bad\033]0;pwned\007 title&#10;2. forged</title><meta chapter=Law>'\
'<meta help-id=leave anchor=days><meta name=keywords content="key\033[31m"></head>'\
'<body>quux</body></html>' > "$DIR/law/leave.htm"

# Page texts in plain output: no escape sequence reaches the terminal, no line is forged.
toc=$("$CLI" toc "$DIR"); check "toc status" 0 "$?"
check "toc has no escape" 0 "$(printf '%s\n' "$toc" | grep -c "$ESC")"
check "toc line" '  Bad\x1B]0;pwned\x07 title 2. forged  [law/leave.htm]' "$(printf '%s\n' "$toc" | grep forged)"
check "keyword escaped" 'key\x1B[31m' "$("$CLI" keywords "$DIR")"
check "helpid path with /" 'law/leave.htm#days' "$("$CLI" helpid "$DIR" leave)"
out=$("$CLI" search "$DIR" quux --precise); check "search status" 0 "$?"
check "search has no escape" 0 "$(printf '%s\n' "$out" | grep -c "$ESC")"
check "search lines" 7 "$(printf '%s\n' "$out" | wc -l)"
check "search path with /" '   law/leave.htm' "$(printf '%s\n' "$out" | grep 'leave')"
out=$("$CLI" search "$DIR" quux --precise --json)
check "json path kept" '"path": "law\\leave.htm",' "$(printf '%s\n' "$out" | grep -o '"path": "law[^"]*",')"
check "json file" "\"file\": \"$DIR/law/leave.htm\"," "$(printf '%s\n' "$out" | grep -o '"file": "[^"]*law[^"]*",')"
check "text has no escape" 0 "$("$CLI" text "$DIR/law/leave.htm" | grep -c "$ESC")"

# A chapter path 20,000 levels deep: cut at load, so the outline and its JSON stay bounded.
DEEP=$2/deep
mkdir -p "$DEEP"
chapter=$(awk 'BEGIN { s = "A"; for (i = 1; i < 20000; i++) s = s "\\A"; print s }')
printf '<html><head><title>Deep</title><meta chapter="%s"></head><body></body></html>' "$chapter" \
  > "$DEEP/deep.htm"
check "deep outline lines" 256 "$("$CLI" toc "$DEEP" | wc -l)"
"$CLI" toc "$DEEP" --json > "$2/deep.json"; check "deep toc --json status" 0 "$?"
check "deep log line" 1 "$("$CLI" load "$DEEP" --rebuild | grep -c 'Chapter path of 20000 levels cut to 255 at deep.htm')"

# A cache that cannot be written: the failure is logged as one, and the user is told.
DB=$("$CLI" load "$DIR" --json | sed -n 's/^  "database": "\(.*\)",$/\1/p')
rm -f "$DB/preserved.bin" && mkdir "$DB/preserved.bin"
err=$("$CLI" load "$DIR" --rebuild 2>&1 >"$2/load.out"); check "cache failure status" 0 "$?"
check "cache failure message" "kestrova-cli load: the cache could not be saved: $DB/preserved.bin: Is a directory" "$err"
check "no completion line after a failure" 0 "$(grep -c 'saving preserved complete' "$2/load.out")"
rmdir "$DB/preserved.bin"

# Pipes in place of the program's own files are not opened as files: nothing waits for ever.
mkfifo "$DB/preserved.bin"
timeout 60 "$CLI" load "$DIR" >/dev/null 2>&1; check "pipe as cache" 0 "$?"
rm -f "$DB/preserved.bin"
REGISTRY=$XDG_CONFIG_HOME/Kestrova/registry
mkdir -p "$(dirname "$REGISTRY")" && rm -f "$REGISTRY" && mkfifo "$REGISTRY"
timeout 60 "$CLI" load "$DIR" >/dev/null 2>&1; check "pipe as settings" 0 "$?"
rm -f "$REGISTRY"
LIST=$XDG_DATA_HOME/Kestrova/folders.bin
mv "$LIST" "$LIST.aside" && mkfifo "$LIST"
err=$(timeout 60 "$CLI" load "$DIR" 2>&1 >/dev/null); check "pipe as folder list" 1 "$?"
check "pipe as folder list message" 1 "$(printf '%s\n' "$err" | grep -c "folders.bin: can't open folder list for reading")"
rm -f "$LIST" && mv "$LIST.aside" "$LIST"

# An export that cannot be written (here: beyond the file size limit) leaves the old one whole.
"$CLI" export-xml "$DIR" "$2/model.xml"; check "export status" 0 "$?"
cp "$2/model.xml" "$2/model.before"
err=$( (ulimit -f 1; trap '' XFSZ; "$CLI" export-xml "$DIR" "$2/model.xml" 2>&1) ); check "failed export status" 1 "$?"
check "failed export message" "$(printf 'kestrova-cli export-xml: %s: file savinig failure\n%s: File too large' "$2/model.xml" "$2/model.xml")" "$err"
cmp -s "$2/model.xml" "$2/model.before"; check "old export kept" 0 "$?"
check "no temporary file left" "" "$(ls "$2" | grep 'model.xml.tmp')"

[ $failures = 0 ] && echo "hostile input: all passed"
exit $failures
