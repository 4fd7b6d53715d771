#!/usr/bin/env bash
# Every command and every option that `sorvanta --help` lists is documented: it appears in the
# README, in the manual page sorvanta(1) and in the bash completion.
#   cli_docs_cover.sh PROJECT_DIR SORVANTA_PROGRAM
set -uo pipefail
project="$1"
program="$2"

help="$("$program" --help)" || { echo "cli_docs_cover: $program --help failed" >&2; exit 1; }
# Commands: the first word of each usage line ("  name ..."); options: every --word.
commands="$(grep -E '^  [a-z]' <<< "$help" | awk '{print $1}' | sort -u)"
options="$(grep -oE -- '--[a-z][a-z-]*' <<< "$help" | sort -u)"
if [ "$(wc -w <<< "$commands")" -lt 10 ] || [ "$(wc -w <<< "$options")" -lt 10 ]; then
  echo "cli_docs_cover: could not read the commands and options from --help" >&2
  exit 1
fi

# The manual page with its escaped hyphens and font changes undone.
manual="$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$project/dist/man/sorvanta.1")"
readme="$(cat "$project/README.md")"
completion="$(cat "$project/dist/completion/sorvanta")"

failures=0
check() {  # check WHERE TEXT WORD: WORD occurs in TEXT as a whole word
  if ! grep -qE -- "(^|[^a-z-])$3([^a-z-]|\$)" <<< "$2"; then
    echo "FAILED: $3 is not in the $1" >&2
    failures=$((failures + 1))
  fi
}
for word in $commands $options; do
  check README "$readme" "$word"
  check "manual page" "$manual" "$word"
  check "bash completion" "$completion" "$word"
done
echo "cli_docs_cover: $(wc -w <<< "$commands") commands, $(wc -w <<< "$options") options, $failures missing"
[ "$failures" -eq 0 ]
