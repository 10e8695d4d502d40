#!/usr/bin/env bash
# Golden runs: whole runs of tesmo whose console output and written files are pinned byte for
# byte. Each case is a folder holding `command` (the words given to tesmo), `input/` (the files
# it reads) and `expected/` (console.txt and every file the run writes).
#
#   golden.sh BINARY [CASE...]            compares each run with its expected files
#   golden.sh BINARY --refresh [CASE...]  prints what changed, then stores the new files
#
# A run is made in a fresh folder holding a copy of its inputs, so that the file names it
# prints are the same wherever it runs.
set -u
here=$(cd "$(dirname "$0")" && pwd)
binary=${1:?usage: golden.sh BINARY [--refresh] [CASE...]}
shift
binary=$(cd "$(dirname "$binary")" && pwd)/$(basename "$binary")
refresh=0
if [[ ${1:-} == --refresh ]]; then refresh=1; shift; fi
cases=("$@")
if (( ${#cases[@]} == 0 )); then
  for d in "$here"/*/; do [[ -f $d/command ]] && cases+=("$(basename "$d")"); done
fi

status=0
for name in "${cases[@]}"; do
  dir=$here/$name
  if [[ ! -f $dir/command ]]; then echo "$name: no such golden case"; status=1; continue; fi
  work=$(mktemp -d)
  mkdir "$work/run"
  cp "$dir"/input/* "$work/run/"
  read -r -a words < "$dir/command"
  (cd "$work/run" && timeout 120 "$binary" "${words[@]}" > console.txt 2>&1 < /dev/null)
  # keep what the run wrote, not what it read
  mkdir "$work/got"
  for f in "$work"/run/*; do
    [[ -e $dir/input/$(basename "$f") ]] || mv "$f" "$work/got/"
  done
  if (( refresh )); then
    if diff -ruN "$dir/expected" "$work/got" > "$work/diff"; then
      echo "$name: unchanged"
    else
      echo "$name: changed"
      sed 's/^/    /' "$work/diff"
      rm -rf "$dir/expected"
      cp -r "$work/got" "$dir/expected"
    fi
  elif diff -r "$dir/expected" "$work/got" > "$work/diff"; then
    echo "$name: same output"
  else
    echo "$name: the output differs from the golden run"
    diff -ruN "$dir/expected" "$work/got" | head -n 60
    status=1
  fi
  rm -rf "$work"
done
exit $status
