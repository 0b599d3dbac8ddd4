#!/bin/sh
# wine-run.sh WINESERVER WINE PROGRAM [ARG...]: runs a Windows program under Wine for ctest.
#
# A wineserver that Wine starts on its own exits a few seconds after its last program; a
# program started while it shuts down loses its connection ("wine client error ...
# Connection reset by peer") and fails a test that did nothing wrong. So one server is kept
# up across the run, until it has been idle for longer than any gap between two tests; if
# one is already up, starting another just fails.
#
# Wine's helpers outlive the program by a few seconds and would hold its output pipe open,
# so that ctest waited for them after every test: the program writes to files instead,
# copied out once it has ended.
wineserver=$1
wine=$2
shift 2
"$wineserver" -p60 >/dev/null 2>&1 </dev/null
dir=$(mktemp -d) || exit 1
"$wine" "$@" >"$dir/out" 2>"$dir/err" </dev/null
status=$?
cat "$dir/out"
cat "$dir/err" >&2
rm -rf "$dir"
exit $status
