#!/usr/bin/env bash
# Solves every example with each of the four solvers at the default settings
# (progress lines on) and records, per run, the whole transcript, the number
# of iterations, how the run ended and the quantities the validation reads.
#
#   scripts/solver_sweep.sh PROGRAM OUTDIR
#
# OUTDIR/summary.txt gets one line per run; OUTDIR/<case>.<solver>.screen the
# transcript. Two sweeps (before and after a change) compare with
#   diff -r OUTDIR1 OUTDIR2
set -euo pipefail
prog=$(realpath "$1")
out=$(realpath -m "$2")
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"
: > "$out/summary.txt"

# Evaluation answers in RESULTS for each example (the paths of VALIDATION.md).
evaluation() {
  case $1 in
    kondensa) printf 'TQ\n0.05001 -1\n0.05001 1\n\nX\n' ;;
    platte) printf 'TQ\n0.00101 -1\n0.00101 1\n\nQ\n0.00701 -1\n0.00701 1\n\nX\n' ;;
    koax*) printf 'TQ\n0.00501 0.00501\n0.01501 0.01501\n\nX\n' ;;
    mstrip) printf 'TQ\n0.00601 -1\n0.00601 1\n\nQ\n0.00891 -1\n0.00891 1\n\nQ\n0.00951 -1\n0.00951 1\n\nX\n' ;;
    kerbe*) printf 'TI\n-1 0.00501\n1 0.00501\n\nI\n-1 0.02001\n1 0.02001\n\nI\n-1 0.03501\n1 0.03501\n\nX\n' ;;
    rund) printf 'TF\n0.01001 0.01301\n0.01001 0.01801\n\nF\n0.01001 0.01001\n0.01001 0.01801\n\nX\n' ;;
    nut*) printf 'THY\nhy.txt\nX\n' ;;
  esac
}

# The answer script that builds case $1 (up to the start question).
build() {
  local name=${1%%_*}
  case $1 in
    *_dat) printf '%s.dat\nX\n' "$name" ;;
    kerbe_101) head -n -2 "$root/examples/kerbe.txt" | sed 's/^0 0.01 51$/0 0.01 101/' ;;
    koax_161) head -n -2 "$root/examples/koax.txt" | sed 's/^81$/161/' ;;
    *) head -n -2 "$root/examples/$name.txt" ;;
  esac
}

slope() {  # least-squares slope of Hy at y = 10 mm over the conductor, from hy.txt
  awk '/y-Line/{b++} b==7 && $1 ~ /^[0-9]+$/ && $2>=0.0025-1e-9 && $2<=0.0095+1e-9 {n++; sx+=$2; sy+=$7; sxx+=$2*$2; sxy+=$2*$7}
       END {printf "slope=%.4E", (n*sxy-sx*sy)/(n*sxx-sx*sx)}' "$1"
}

cases=(kondensa platte koax koax_161 mstrip kerbe kerbe_101 rund nut
       kondensa_dat platte_dat koax_dat mstrip_dat kerbe_dat rund_dat nut_dat)
for c in "${cases[@]}"; do
  for s in 1 2 3 4; do
    dir=$(mktemp -d)
    [[ $c == *_dat ]] && cp "$root/examples/${c%%_*}.dat" "$dir/"
    ( cd "$dir"
      { build "$c"; printf 'N\nC\nL\n%s\nSA\nY\nX\nR\nX\nR\n' "$s"; evaluation "${c%_dat}"; printf 'X\nX\n'; } |
        "$prog" --headless > "$out/$c.$s.screen" 2>&1 || true )
    screen=$out/$c.$s.screen
    n=$(grep -ao 'Iteration: *[0-9]*' "$screen" | tail -1 | grep -o '[0-9]*$' || echo 0)
    end=$(grep -aoE '\*\*\* [A-Z-]+ ready \*\*\*|### Abbruch [A-Z-]+: +Rel. Fehler: *[-0-9.E+]+ ###' "$screen" | tail -1 | tr -s ' ')
    q=$(grep -aoE "(Q|I|PHI)' = *[-0-9.E+]+" "$screen" | tr -d ' ' | tr '\n' ' ' || true)
    [[ -f $dir/hy.txt ]] && q="$q$(slope "$dir/hy.txt")"
    printf '%-12s %d  it=%-4s %-45s %s\n' "$c" "$s" "$n" "$end" "$q" >> "$out/summary.txt"
    rm -rf "$dir"
  done
done
cat "$out/summary.txt"
