#!/bin/sh
# wine-run.sh WINE PROGRAM [ARG...]: runs a Windows program under Wine for ctest.
# Wine's helpers (wineserver and the services it starts) outlive the program by a few
# seconds and would hold its output pipe open, so that ctest waited for them after every
# test: the program writes to files instead, copied out once it has ended.
wine=$1
shift
dir=$(mktemp -d) || exit 1
"$wine" "$@" >"$dir/out" 2>"$dir/err" </dev/null
status=$?
cat "$dir/out"
cat "$dir/err" >&2
rm -rf "$dir"
exit $status
