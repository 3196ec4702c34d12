#!/bin/sh
# Runs the node build and the native program on the answers of each simple
# whole-screen script (only @copy set-up, one session) in two scratch folders
# and compares their screens and every file they leave, byte for byte.
# Usage: web/compare_with_native.sh NATIVE_BINARY WEB_COMMAND SCREEN...
# WEB_COMMAND is run by the shell with the arguments appended, e.g.
# "node $PWD/build-web/tambri_node.js" or
# "node $PWD/web/node_driver.js $PWD/build-web/tambri_web.js" (absolute paths).
set -u
native=$(realpath "$1"); web=$2; shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
same=0; differ=0; skipped=0
for screen in "$@"; do
  if grep -q -E '^@(session|args|history|write|structure|folder|status)' "$screen"; then
    skipped=$((skipped + 1)); continue
  fi
  work=$(mktemp -d)
  mkdir "$work/native" "$work/web"
  for f in $(sed -n 's/^@copy //p' "$screen"); do
    cp "$root/examples/$f" "$work/native/"; cp "$root/examples/$f" "$work/web/"
  done
  # Every {answer} in order, one line each.
  grep -o '{[^}]*}' "$screen" | sed 's/^{//; s/}$//' > "$work/answers"
  (cd "$work/native" && "$native" --headless < "$work/answers" > "$work/native.out" 2>&1; echo "exit $?" >> "$work/native.out")
  (cd "$work/web" && $web --headless < "$work/answers" > "$work/web.out" 2>&1; echo "exit $?" >> "$work/web.out")
  if cmp -s "$work/native.out" "$work/web.out" && diff -r "$work/native" "$work/web" > /dev/null; then
    same=$((same + 1))
  else
    differ=$((differ + 1)); echo "DIFFERS: $screen (kept in $work)"; continue
  fi
  rm -rf "$work"
done
echo "same $same, differ $differ, skipped $skipped"
[ "$differ" -eq 0 ]
