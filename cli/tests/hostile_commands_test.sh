#!/bin/sh
# kestrova-cli on a hostile machine: locks kept by a stopped process, a lock folder or index
# lock files that cannot be used, a damaged index, queries that are not text or look like
# options. Every case ends with a clear message and a failing status, never a hang.
# Arguments: the program, a scratch folder, the lock helper of the exec tests.
set -u
CLI=$1
SCRATCH=$2
HELPER=$3
KB=$SCRATCH/kb
rm -rf "$SCRATCH" && mkdir -p "$SCRATCH/run" && cp -R "$(dirname "$0")/../../samples/kb" "$KB" || exit 1
# The lock folder of this test alone.
XDG_RUNTIME_DIR=$SCRATCH/run
export XDG_RUNTIME_DIR
failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL $1"; printf "  expected: %s\n  actual:   %s\n" "$2" "$3"; failures=$((failures + 1))
  fi
}
guard() { timeout 120 "$@"; }  # a hang fails the test instead of stalling it

# A query that begins with "-" follows "--"; --help says so.
out=$(guard "$CLI" search --json "$KB" -- "-заземление"); check "query after --" 0 "$?"
check "query after -- searched" '"query": "-заземление",' "$(printf '%s\n' "$out" | grep -o '"query": .*')"
check "help names --" 1 "$("$CLI" search --help | grep -c 'after --')"

# A query that is not UTF-8 is refused before it reaches the JSON writer.
err=$(guard "$CLI" search --json "$KB" "$(printf 'a\377b')" 2>&1 >/dev/null); check "bad UTF-8 status" 2 "$?"
check "bad UTF-8 message" "kestrova-cli search: the query is not valid UTF-8" "$err"

# A process stopped while it holds the load locks: the wait is told after about two seconds,
# with the holder, and given up after --wait seconds.
mkfifo "$SCRATCH/in"
"$HELPER" ksv:load "$KB" <"$SCRATCH/in" >"$SCRATCH/out" &
holder=$!
exec 3>"$SCRATCH/in"
echo all >&3
tries=0
until grep -q '^all$' "$SCRATCH/out" 2>/dev/null || [ $tries -ge 600 ]; do sleep 0.1; tries=$((tries + 1)); done
kill -STOP $holder
err=$(guard "$CLI" toc "$KB" --wait 3 2>&1 >/dev/null); check "stopped holder status" 1 "$?"
check "stopped holder reported" "kestrova-cli toc: waiting for lock ksv:load of $KB (held by process $holder)" \
  "$(printf '%s\n' "$err" | head -1)"
check "stopped holder given up" "kestrova-cli toc: $KB: gave up waiting for lock ksv:load of $KB after 3 s (held by process $holder)" \
  "$(printf '%s\n' "$err" | tail -1)"
err=$(guard "$CLI" search "$KB" "заземление" --wait 1 2>&1 >/dev/null); check "stopped holder search status" 1 "$?"
check "stopped holder search" "kestrova-cli search: $KB: no model (gave up waiting for lock ksv:load of $KB after 1 s (held by process $holder))" \
  "$(printf '%s\n' "$err" | tail -1)"
# A wait beyond any end (--wait 1e300) is still waiting after four seconds, not given up at once.
timeout 4 "$CLI" toc "$KB" --wait 1e300 >/dev/null 2>&1; check "endless wait status" 124 "$?"
kill -CONT $holder
exec 3>&-
wait $holder

# A lock folder that cannot be used is named with the reason.
mkdir -p "$SCRATCH/badrun" && : >"$SCRATCH/badrun/kestrova-locks"
err=$(XDG_RUNTIME_DIR=$SCRATCH/badrun guard "$CLI" search "$KB" "заземление" 2>&1 >/dev/null); check "lock folder status" 1 "$?"
check "lock folder message" "kestrova-cli search: $KB: no model (can't take lock ksv:load of $KB: lock folder $SCRATCH/badrun/kestrova-locks: not a folder)" "$err"

# Index lock files that cannot be opened fail the search and the index, instead of "0 results"
# and "current".
out=$(guard "$CLI" index "$KB"); check "index status" 0 "$?"
data=$(dirname "$(find "$XDG_DATA_HOME" -type d -name text_idx_lem | head -1)")
rm -f "$data/index_lem.lck" "$data/index_prec.lck"  # the searchers leave them
mkdir "$data/index_lem.lck" "$data/index_prec.lck"
err=$(guard "$CLI" search "$KB" "заземление" 2>&1 >/dev/null); check "lock file search status" 1 "$?"
check "lock file search" "kestrova-cli search: $KB: the search for \"заземление\" failed: can't open lock file $data/index_lem.lck: not a regular file" "$err"
err=$(guard "$CLI" index "$KB" 2>&1 >/dev/null); check "lock file index status" 1 "$?"
check "lock file index" "kestrova-cli index: $KB: can't open lock file $data/index_lem.lck: not a regular file" "$err"
rmdir "$data/index_lem.lck" "$data/index_prec.lck"

# A damaged index: the failed search says so, and the next one finds the pages again.
segment=$(ls -S "$data/text_idx_lem"/* | head -1)
truncate -s 1000 "$segment"
err=$(guard "$CLI" search "$KB" "заземление" 2>&1 >/dev/null); check "damaged search status" 1 "$?"
check "damaged search" "kestrova-cli search: $KB: the search for \"заземление\" failed: the index $data/text_idx_lem was damaged and is being rebuilt" \
  "$(printf '%s\n' "$err" | head -1 | sed 's/ rebuilt: .*/ rebuilt/')"
out=$(guard "$CLI" search --json "$KB" "заземление"); check "search after damage status" 0 "$?"
check "search after damage" 1 "$(printf '%s\n' "$out" | grep -c '"path": .*grounding.html')"
segment=$(ls -S "$data/text_idx_prec"/* | head -1)
truncate -s 1000 "$segment"
out=$(guard "$CLI" index "$KB" 2>/dev/null); check "index after damage status" 0 "$?"
check "index after damage" "$(printf 'lemmatizing index: current\nprecise index: built')" "$(printf '%s\n' "$out" | head -2)"

# The data folder replaced by a file: the build ends at once with the reason.
mv "$data" "$data.saved" && : >"$data"
err=$(guard "$CLI" index "$KB" 2>&1 >/dev/null); check "data folder is a file status" 1 "$?"
check "data folder is a file" 1 "$(printf '%s\n' "$err" | grep -c 'Not a directory')"
rm "$data" && mv "$data.saved" "$data"

[ $failures -eq 0 ] && echo "all passed"
exit $failures
