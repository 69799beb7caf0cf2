#!/bin/sh
# kestrova-cli lemma: arguments, standard input and --analyses with the linked dictionaries.
set -u
CLI=$1
failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL $1"; echo "  expected: $2"; echo "  actual:   $3"; failures=$((failures + 1))
  fi
}
tab=$(printf '\t')

# A form of several lemmas takes its most probable one.
out=$("$CLI" lemma законы Ёлки НАЛОГОВОГО судами были может слоя); rc=$?
check "lemma status" 0 "$rc"
check "lemma words" "законы${tab}ЗАКОН
Ёлки${tab}ЕЛКА
НАЛОГОВОГО${tab}НАЛОГОВЫЙ
судами${tab}СУД
были${tab}БЫТЬ
может${tab}МОЧЬ
слоя${tab}СЛОЙ" "$out"

out=$(printf 'закону\r\nсделал\n\nзакон1\n' | "$CLI" lemma); rc=$?
check "lemma input status" 0 "$rc"
check "lemma input" "ЗАКОН
СДЕЛАТЬ

ЗАКОН1" "$out"

out=$("$CLI" lemma --analyses сделал может); rc=$?
check "analyses status" 0 "$rc"
check "analyses word line" "сделал" "$(printf '%s\n' "$out" | head -1)"
check "analyses found" 1 "$(printf '%s\n' "$out" | grep -c "normal СДЕЛАТЬ${tab}found")"
check "analyses codes" 1 "$(printf '%s\n' "$out" | sed -n 3p | grep -c 'прош')"
# The lemmatizer's order stays (the conjunction first); the chosen analysis is marked.
out=$(printf '%s\n' "$out" | sed -n '/^может$/,$p' | grep -v "^${tab}${tab}")
check "analyses keep their order" 1 "$(printf '%s\n' "$out" | sed -n 2p | grep -c "normal МОЖЕТ${tab}found${tab}weight [0-9]*$")"
check "analyses mark the chosen one" 1 "$(printf '%s\n' "$out" | grep "${tab}chosen$" | grep -c "normal МОЧЬ${tab}found${tab}weight [1-9]")"
out=$("$CLI" lemma --analyses закон1)
check "analyses predicted or none" 0 "$(printf '%s\n' "$out" | grep -c "${tab}found")"

"$CLI" lemma --nonsense 2>/dev/null; check "lemma bad option" 2 "$?"
[ $failures = 0 ]
