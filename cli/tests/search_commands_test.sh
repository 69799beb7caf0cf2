#!/bin/sh
# kestrova-cli index and search on a copy of the sample knowledge base.
set -u
CLI=$1
KB=$2/kb
rm -rf "$2" && mkdir -p "$2" && cp -R "$(dirname "$0")/../../samples/kb" "$KB" || exit 1
failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL $1"; printf "  expected: %s\n  actual:   %s\n" "$2" "$3"; failures=$((failures + 1))
  fi
}
paths() {  # the result paths of a JSON search, one a line
  grep '"path":' | sed 's/^ *"path": "\(.*\)",$/\1/'
}

# The first search builds both indexes on its way; index then finds nothing to do.
out=$("$CLI" search "$KB" "заземлением" --json); check "search status" 0 "$?"
check "related words find another form" 'tech\\std\\grounding.html' "$(printf '%s\n' "$out" | paths | grep -F 'grounding')"
check "index after a search" "both indexes are current" "$("$CLI" index "$KB")"

out=$("$CLI" search "$KB" "заземлением" --precise --json); check "precise status" 0 "$?"
check "precise finds only the form written" '"count": 0,' "$(printf '%s\n' "$out" | grep -o '"count": [0-9]*,')"
check "precise finds the word as written" 'tech\\std\\grounding.html' \
  "$("$CLI" search "$KB" "заземление" --precise --json | paths | grep -F 'grounding')"

# A form of several lemmas is taken as its most probable one: судами as СУД, not СУДНО, so it
# finds the pages with суд (inspection.html has суд only).
check "ambiguous form" "$(printf 'law\\\\civil\\\\liability.html\nref\\\\proc\\\\inspection.html')" \
  "$("$CLI" search "$KB" "судами" --json | paths | sort)"

# Titles only: two title words rank before one; with related words "договоре" matches "договор".
check "titles ranked" "$(printf 'law\\\\civil\\\\supply.html\nlaw\\\\civil\\\\contract.html')" \
  "$("$CLI" search "$KB" "договор поставки" --titles --json | paths)"
check "titles precise" 'law\\civil\\supply.html' "$("$CLI" search "$KB" "договор поставки" --titles --precise --json | paths)"

# Query language.
and=$("$CLI" search "$KB" "заземление AND электроустановки" --query-language --json | paths | sort)
check "AND" "$(printf 'archive\\\\gost-1990\\\\electrical-1990.html\nframes\\\\norms-2020.html\ntech\\\\std\\\\electrical-safety.html')" "$and"
check "OR" "$(printf 'tech\\\\rules\\\\index.html\ntech\\\\rules\\\\lighting.html\ntech\\\\rules\\\\ventilation.html')" \
  "$("$CLI" search "$KB" "вентиляция OR освещение" --query-language --json | paths | grep rules | sort)"
err=$("$CLI" search "$KB" '"заземление' --query-language 2>&1 >/dev/null); check "syntax error status" 1 "$?"
check "syntax error one line" 1 "$(printf '%s\n' "$err" | wc -l | tr -d ' ')"
check "syntax error says what failed" "kestrova-cli search: $KB: the search for \"\"заземление\" failed: can't parse query: Cannot parse" \
  "$(printf '%s\n' "$err" | sed "s/ '.*//")"
"$CLI" search "$KB" '"заземление' >/dev/null; check "a quote is text without the query language" 0 "$?"

# Domain views.
check "domain" "$(printf 'tech\\\\std\\\\grounding.html\ntech\\\\std\\\\electrical-safety.html')" \
  "$("$CLI" search "$KB" "заземление" --domain tech --json | paths)"
"$CLI" search "$KB" "заземление" --domain nosuch 2>/dev/null; check "unknown domain" 2 "$?"

# Output shapes.
out=$("$CLI" search "$KB" "заземление" --domain tech --json)
check "json keys" '"query" "options" "count" "results"' "$(printf '%s\n' "$out" | grep -o '^  "[a-z]*"' | tr -d ' ' | tr '\n' ' ' | sed 's/ $//')"
check "json result keys" '"rank" "path" "file" "anchor" "title" "location"' \
  "$(printf '%s\n' "$out" | grep -o '^      "[a-z]*"' | head -6 | tr -d ' ' | tr '\n' ' ' | sed 's/ $//')"
check "json options" '"titles_only": false, "related_words": true, "query_language": false, "domain": "tech"' \
  "$(printf '%s\n' "$out" | grep -E '^    "(titles_only|related_words|query_language|domain)"' | sed 's/^ *//' | tr '\n' ' ' | sed 's/,* $//')"
check "json first result" '"rank": 1, "path": "tech\\std\\grounding.html", "file": "'"$KB"'/tech/std/grounding.html", "anchor": null, "title": "Защитное заземление и зануление", "location": "Стандарты: Национальные стандарты: Электробезопасность"' \
  "$(printf '%s\n' "$out" | sed -n '/"rank": 1,/,/}/p' | grep -v '}' | sed 's/^ *//' | tr '\n' ' ' | sed 's/ $//')"
check "text result" "$(printf '1. Защитное заземление и зануление\n   Стандарты: Национальные стандарты: Электробезопасность\n   tech/std/grounding.html')" \
  "$("$CLI" search "$KB" "заземление" --domain tech | head -3)"
out=$("$CLI" search "$KB" "zzzzqqq"); check "empty result status" 0 "$?"
check "empty result" "0 results" "$out"

# Wrong arguments.
err=$("$CLI" search "$2/none" "x" 2>&1); check "missing folder status" 2 "$?"
check "missing folder line" "kestrova-cli search: $2/none: not a folder" "$err"
"$CLI" index "$2/none" 2>/dev/null; check "index missing folder" 2 "$?"
"$CLI" search "$KB" "" 2>/dev/null; check "empty query" 2 "$?"
"$CLI" search "$KB" 2>/dev/null; check "no query" 2 "$?"

# A new page makes the model outdated: the rebuilt model needs new indexes.
printf '<html><head><title>Новая</title></head><body>пожаротушение</body></html>' > "$KB/new.html"
out=$("$CLI" index "$KB"); check "index status" 0 "$?"
check "index built" "$(printf 'lemmatizing index: built\nprecise index: built\npages: 46')" "$(printf '%s\n' "$out" | head -3)"
check "index time" "time:" "$(printf '%s\n' "$out" | tail -1 | cut -d' ' -f1)"
check "new page found first" 'new.html' "$("$CLI" search "$KB" "пожаротушение" --json | paths | head -1)"
check "index again" "both indexes are current" "$("$CLI" index "$KB")"

[ $failures = 0 ] && echo "search commands: all passed"
exit $failures
