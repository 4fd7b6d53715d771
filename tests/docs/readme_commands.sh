#!/usr/bin/env bash
# Runs every command line of the README: each line starting with "$ " inside a ```console
# block, in order, with bash, from a scratch folder that holds a copy of the sample release at
# data/sample-release (commands that write change only the copy). The stored data folder is
# that copy too (SORVANTA_SETTINGS_DIR), for the commands without --data. A line must end with
# status 0, or with N when it ends with the comment "# exit status N".
#   readme_commands.sh PROJECT_DIR PROGRAM_DIR...   (the folders holding the built programs)
set -uo pipefail
project="$1"; shift
readme="$project/README.md"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/data" "$scratch/settings/Quendry"
cp -r "$project/data/sample-release" "$scratch/data/"
printf '[General]\nSVLoc=%s/data/sample-release/\n' "$scratch" > "$scratch/settings/Quendry/XML.conf"
export SORVANTA_SETTINGS_DIR="$scratch/settings"
# Release indexes (check, diff, search) go into the scratch folder, not the user's cache.
export XDG_CACHE_HOME="$scratch/cache"
for dir in "$@"; do PATH="$(realpath "$dir"):$PATH"; done
export PATH

commands=()
in_console=0
while IFS= read -r line; do
  case "$line" in
    '```console') in_console=1 ;;
    '```'*) in_console=0 ;;
    '$ '*) [ "$in_console" -eq 1 ] && commands+=("${line#\$ }") ;;
  esac
done < "$readme"

if [ "${#commands[@]}" -lt 10 ]; then
  echo "readme_commands: found only ${#commands[@]} command lines in $readme" >&2
  exit 1
fi

failures=0
for command in "${commands[@]}"; do
  expected=0
  if [[ $command =~ \#\ exit\ status\ ([0-9]+)[[:space:]]*$ ]]; then
    expected="${BASH_REMATCH[1]}"
  fi
  (cd "$scratch" && bash -c "$command" > "$scratch/out.txt" 2> "$scratch/err.txt")
  status=$?
  if [ "$status" -ne "$expected" ]; then
    echo "FAILED (status $status, expected $expected): $command" >&2
    sed 's/^/  stderr: /' "$scratch/err.txt" | head -5 >&2
    failures=$((failures + 1))
  elif [ "$expected" -ne 0 ] && [ ! -s "$scratch/err.txt" ]; then
    echo "FAILED (status $status without a message): $command" >&2
    failures=$((failures + 1))
  fi
done
# The table of files written: after the commands above, each file it names (FRAME as Motion,
# P as into) is in the copy of the release.
files=0
while IFS= read -r row; do
  cell="$(cut -d'|' -f3 <<< "$row")"
  for name in $(grep -o '`[^`]*`' <<< "$cell" | tr -d '`'); do
    [ "$name" = "--frames-only" ] && continue
    name="${name//FRAME/Motion}"
    name="${name//-P./-into.}"
    files=$((files + 1))
    if [ ! -f "$scratch/data/sample-release/$name" ]; then
      echo "FAILED: the README says $name is written, but it is not there" >&2
      failures=$((failures + 1))
    fi
  done
done < <(sed -n '/^## What gets written/,/^## /p' "$readme" | grep '^| `[a-z-]*` (')
if [ "$files" -lt 10 ]; then
  echo "readme_commands: found only $files file names in the table of files written" >&2
  failures=$((failures + 1))
fi

echo "readme_commands: ${#commands[@]} command lines, $files files written, $failures failed"
[ "$failures" -eq 0 ]
