#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantu developers
# SPDX-License-Identifier: MIT
# man_options_test.sh PROGRAM PAGE: the options PROGRAM --help lists and the options its man
# page documents (the tags of the OPTIONS section) are the same, and the page formats without a
# warning.
set -euo pipefail
program=$1
page=$2

# "  -o, --output FILE.png   write ..." gives -o and --output: an option's line begins with two
# blanks and a dash (the lines that go on with its description begin with more blanks), and the
# option column ends where two blanks begin the description.
help_options=$("$program" --help |
    sed -nE 's/^  (-.*)$/\1/p' |
    sed -E 's/  .*//' |
    grep -oE '(^|[ ,])--?[A-Za-z][A-Za-z0-9-]*' |
    sed -E 's/^[ ,]//' | sort -u)

# The line after each .TP of the OPTIONS section is an entry's tag.
page_options=$(sed 's/\\-/-/g' "$page" |
    awk '/^\.SH/ { options = ($0 ~ /^\.SH "?OPTIONS"?$/) }
         options && tag { print; tag = 0 }
         options && /^\.TP/ { tag = 1 }' |
    grep -oE '(^|[ ,"])--?[A-Za-z][A-Za-z0-9-]*' |
    sed -E 's/^[ ,"]//' | sort -u)

status=0
if [ "$(echo "$help_options" | wc -l)" -lt 3 ]; then
    echo "too few options read from '$program --help':" $help_options
    status=1
fi
missing=$(comm -23 <(echo "$help_options") <(echo "$page_options"))
if [ -n "$missing" ]; then
    echo "in --help but not in the man page's OPTIONS:" $missing
    status=1
fi
stale=$(comm -13 <(echo "$help_options") <(echo "$page_options"))
if [ -n "$stale" ]; then
    echo "in the man page's OPTIONS but not in --help:" $stale
    status=1
fi

warnings=$(groff -man -ww -z "$page" 2>&1)
if [ -n "$warnings" ]; then
    echo "groff warns about $page:"
    echo "$warnings"
    status=1
fi

if [ $status -eq 0 ]; then
    echo "--help and $page agree on:" $help_options
fi
exit $status
