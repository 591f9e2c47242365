#!/usr/bin/env bash
# check-man-page.sh PROGRAM MANPAGE: the man page says what `PROGRAM --help` says.
#  - `--help` succeeds and prints a usage;
#  - the OPTIONS section documents exactly the options the usage names, plus --help;
#  - the page names no option the usage does not know (synopsis and examples included);
#  - every placeholder of the usage lines (N, DIR, LISTINGS.tsv, ...) is in the SYNOPSIS.
set -euo pipefail
program=$1
page=$2
name=$(basename "$program")

if ! help=$("$program" --help 2>&1); then
    echo "FAIL: $name --help exits with a failure status" >&2
    exit 1
fi
if ! grep -q '^usage:' <<<"$help"; then
    echo "FAIL: $name --help prints no usage line:" >&2
    echo "$help" >&2
    exit 1
fi

options() { grep -oE -- '--[a-z][a-z0-9-]*' | sort -u; }
# The page as plain text for these checks: roff's "\-" is a "-", font escapes go.
plain=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page")
section() { awk -v s="$1" '/^\.SH/ { on = ($2 == s) } on' <<<"$plain"; }

help_options=$( (options <<<"$help"; echo --help) | sort -u)
documented=$(section OPTIONS | options)
anywhere=$(options <<<"$plain")

status=0
if [ "$documented" != "$help_options" ]; then
    echo "FAIL: $name: the OPTIONS of $page differ from --help" >&2
    diff <(echo "$help_options") <(echo "$documented") \
        --label "$name --help" --label "$page OPTIONS" >&2 || true
    status=1
fi
unknown=$(comm -13 <(echo "$help_options") <(echo "$anywhere"))
if [ -n "$unknown" ]; then
    echo "FAIL: $page names options that $name does not know: $unknown" >&2
    status=1
fi

# Placeholders: upper-case words (with dots) on the usage lines, the lines that start with
# "usage:" or with blanks and the program's name, up to a gap of blanks before a remark.
usage_lines=$(grep -E "^(usage:|[[:space:]]+$name( |$))" <<<"$help" | sed -E 's/([^ ]) {3,}.*$/\1/')
synopsis=$(section SYNOPSIS)
for word in $(grep -oE '\b[A-Z][A-Z0-9_]*(\.[a-z]+)?\b' <<<"$usage_lines" | sort -u); do
    if ! grep -qF -- "$word" <<<"$synopsis"; then
        echo "FAIL: $name: the usage's $word is missing from the SYNOPSIS of $page" >&2
        status=1
    fi
done
[ "$status" -ne 0 ] || echo "$name: $page and --help agree on $(wc -l <<<"$help_options") options"
exit "$status"
