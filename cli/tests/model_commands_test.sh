#!/bin/sh
# kestrova-cli load, toc, keywords, helpid, outdated and export-xml on a small generated folder.
set -u
CLI=$1
DIR=$2/kb
rm -rf "$2" && mkdir -p "$DIR/law" || exit 1
failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL $1"; echo "  expected: $2"; echo "  actual:   $3"; failures=$((failures + 1))
  fi
}
printf '<html><head><title>Start</title><meta domain=law display-name=Law><meta help-id=start>'\
'<meta name=keywords content="Alpha,beta"></head><body></body></html>' > "$DIR/index.html"
printf '<html><head><title>Leave</title><meta chapter=Law><meta domain=law>'\
'<meta help-id=leave anchor=days></head><body></body></html>' > "$DIR/law/leave.htm"

out=$("$CLI" load "$DIR" --json); check "load status" 0 "$?"
check "load rebuilt" '"rebuilt": true,' "$(printf '%s\n' "$out" | grep -o '"rebuilt": [a-z]*,')"
check "load pages" '"pages": 2,' "$(printf '%s\n' "$out" | grep -o '"pages": [0-9]*,')"
out=$("$CLI" load "$DIR" --json)
check "second load from the cache" '"rebuilt": false,' "$(printf '%s\n' "$out" | grep -o '"rebuilt": [a-z]*,')"
check "cache log" '"loading preserved complete' "$(printf '%s\n' "$out" | grep -o '"loading preserved complete')"
check "helpid anchor" 'law/leave.htm#days' "$("$CLI" helpid "$DIR" leave)"
"$CLI" helpid "$DIR" missing 2>/dev/null; check "helpid unknown status" 1 "$?"
check "outdated after load" false "$("$CLI" outdated "$DIR")"
printf '<html><head><title>New</title></head></html>' > "$DIR/new.html"
check "outdated after a new page" true "$("$CLI" outdated "$DIR")"
check "keywords" "$(printf 'Alpha\nbeta')" "$("$CLI" keywords "$DIR" --domain law)"
"$CLI" toc "$DIR" --domain nosuch 2>/dev/null; check "toc unknown domain" 2 "$?"
check "toc outline" "Law" "$("$CLI" toc "$DIR" | head -1)"
"$CLI" export-xml "$DIR" "$2/model.xml"; check "export status" 0 "$?"
check "export head" '<?xml version="1.0"?>' "$(head -c 100 "$2/model.xml" | tail -c +4 | head -1 | tr -d '\r')"
"$CLI" export-xml "$DIR" /nonexistent/dir/x.xml 2>/dev/null; check "export failure" 1 "$?"
err=$("$CLI" load "$2/none" 2>&1); check "load missing status" 2 "$?"
check "load missing line" "kestrova-cli load: $2/none: not a folder" "$err"
[ $failures = 0 ] && echo "model commands: all passed"
exit $failures
