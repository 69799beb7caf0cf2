#!/bin/sh
# kestrova-cli meta and scan: output, error lines and status codes.
set -u
CLI=$1
DIR=$2/pages
rm -rf "$DIR" && mkdir -p "$DIR" && cd "$DIR" || exit 1
failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL $1"; echo "  expected: $2"; echo "  actual:   $3"; failures=$((failures + 1))
  fi
}

printf '<html><head><title> A &amp;  B </title><meta chapter="X\\Y" order=top location=hidden>'\
'<meta content=_Index profile=Print><meta keyword=k anchor=a></head><body>' > good.html
out=$("$CLI" meta good.html); rc=$?
check "meta status" 0 "$rc"
check "meta json" '{"title":"A & B","root_chapter":false,"ignored":false,"chapters":{"":[{"name":"X","order":0,"hidden":false},{"name":"Y","order":1,"hidden":true}]},"contents":{"print":[{"text":"","anchor":"","order":0,"index":true}]},"domains":[],"keywords":[{"text":"k","anchor":"a"}],"help_ids":[]}' \
  "$(printf '%s' "$out" | tr -d ' \n' | sed 's/A&B/A \& B/')"

printf '<meta chapter=_Root><meta chapter=A>' > bad.html
err=$("$CLI" meta bad.html 2>&1 >/dev/null); rc=$?
check "meta failure status" 1 "$rc"
check "meta failure line" "$DIR/bad.html: both chapter and root chapter are set" "$err"

err=$("$CLI" meta missing.html 2>&1 >/dev/null); rc=$?
check "meta missing status" 2 "$rc"
check "meta missing line" "kestrova-cli meta: missing.html: no such file" "$err"
"$CLI" meta 2>/dev/null; check "meta without file" 2 "$?"
"$CLI" meta --help >/dev/null; check "meta help" 0 "$?"

printf '\357\273\277x<a href="\\q\001"/>y<p a=x">z<i>' > scan.html
out=$("$CLI" scan scan.html); rc=$?
check "scan strict status" 1 "$rc"
check "scan strict" 'BOM
TEXT "x"
TAG a
ATTR href="\\q\x01"
ATTREND
END a
TEXT "y"
TAG p
ATTREND
ERROR wrong not quoted attribute in tag p' "$out"
out=$("$CLI" scan --tolerant scan.html); rc=$?
check "scan tolerant status" 0 "$rc"
check "scan tolerant tail" 'TEXT "\">z"
START i' "$(printf '%s\n' "$out" | tail -2)"
"$CLI" scan --bogus scan.html 2>/dev/null; check "scan wrong option" 2 "$?"
"$CLI" scan "$DIR" 2>/dev/null; check "scan folder" 2 "$?"

[ $failures = 0 ] && echo "page commands: all checks passed" && exit 0
exit 1
