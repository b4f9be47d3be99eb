#!/usr/bin/env bash
# compare.sh BUILD_A BUILD_B [ROUNDS] [PAIRS]: runs bench.sh on two build trees by turns (A, B, A, B, ...;
# PAIRS turns each, default 6, of ROUNDS rounds each, default 5) in the Wine session of BUILD_A, and
# prints for each tree the median and quartiles of the program's ready time less its splash, of the
# minimal program's ready time, and of the ratio of the two within each round. Taking turns and pairing
# each program start with the minimal start beside it keep a machine whose load changes from favouring
# one tree. Start-up times on a shared machine come in two clusters (a slow one some 100 ms above the
# other); compare the quartiles, not only the medians.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
a=$(cd "$1" && pwd)
b=$(cd "$2" && pwd)
rounds=${3:-5}
pairs=${4:-6}
work=$(mktemp -d /tmp/orv-startup-compare.XXXXXX)
trap 'rm -rf "$work"' EXIT
# bench.sh reads the session from the tree it measures; B runs in A's session.
if [ "$b" != "$a" ] && [ ! -e "$b/session.env" ]; then
  cp "$a/session.env" "$b/session.env"
  trap 'rm -rf "$work" "$b/session.env"' EXIT
fi
for _ in $(seq "$pairs"); do
  for side in A B; do
    build=$a
    [ $side = B ] && build=$b
    "$here/bench.sh" "$build" "$rounds" >/dev/null
    cat "$build/startup-bench.txt" >> "$work/$side.txt"
  done
done
for side in A B; do
  build=$a
  [ $side = B ] && build=$b
  tr -d '\r' < "$work/$side.txt" | awk -v name="$side ($build)" '
    function sort(a, k,   i, j, t) { for (i = 2; i <= k; i++) { t = a[i]; for (j = i - 1; j >= 1 && a[j] > t; j--) a[j + 1] = a[j]; a[j + 1] = t } }
    function q(a, k, f,   x) { x = 1 + (k - 1) * f; return a[int(x)] + (x - int(x)) * (a[int(x) + 1] - a[int(x)]) }
    # bench.sh writes each round as two lines, the program and the minimal program in either order.
    { round = int((NR - 1) / 2) }
    $2 == "program" && $3 >= 0 { p++; pn[p] = $5; pr[round] = $5 }
    $2 == "minimal" && $3 >= 0 { m++; mr[m] = $3; mn[round] = $3 }
    END {
      for (k in pr) if ((k in mn) && mn[k] > 0) { r++; rr[r] = pr[k] / mn[k] }
      if (!p || !m || !r) { print name ": no complete run"; exit 1 }
      sort(pn, p); sort(mr, m); sort(rr, r)
      printf "%s\n  program less splash %.0f ms (quartiles %.0f..%.0f, %d runs)\n", name, q(pn, p, .5), q(pn, p, .25), q(pn, p, .75), p
      printf "  minimal %.0f ms (quartiles %.0f..%.0f)\n", q(mr, m, .5), q(mr, m, .25), q(mr, m, .75)
      printf "  ratio within a round %.2f (quartiles %.2f..%.2f); ratio of the medians %.2f\n", q(rr, r, .5), q(rr, r, .25), q(rr, r, .75), q(pn, p, .5) / q(mr, m, .5)
    }'
done
