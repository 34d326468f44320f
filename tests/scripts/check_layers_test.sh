#!/usr/bin/env bash
# The layer check passes on the source tree and catches each kind of wrong include planted in a small
# tree of its own.
set -u
root=$1
check=$root/scripts/check-layers
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! out=$("$check" "$root" 2>&1); then
    fail "the source tree has wrong includes:"$'\n'"$out"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/check-layers.XXXXXX")
trap 'rm -rf "$work"' EXIT

# file | content | what the check must say (empty: it must pass)
cases=(
    'catalogue/Plain.cpp|#include "framework/core/Format.h"|'
    'catalogue/Up.cpp|#include "shell/ShellGlobals.h"|catalogue/Up.cpp:1: '"'"'catalogue'"'"' may not include "shell/ShellGlobals.h"'
    'link/Services.cpp|#include "link/services/RegisterServices.h"|link/Services.cpp:1:'
    'paramedit/Widget.cpp|#include <QWidget>|paramedit/Widget.cpp:1: Qt header <QWidget>'
    'controls/Widget.cpp|#include <QWidget>|'
    'shell/monitor/Win.cpp|#include <vector>\n#include "paramedit/ParaEditDlg.h"|shell/monitor/Win.cpp:2:'
    'newfolder/A.cpp|int a;|newfolder/A.cpp: folder '"'"'newfolder'"'"' has no layer rule'
)
for entry in "${cases[@]}"; do
    IFS='|' read -r file content expected <<<"$entry"
    tree="$work/$(echo "$file" | tr '/.' '__')"
    mkdir -p "$tree/$(dirname "$file")"
    printf "$content\n" >"$tree/$file"
    out=$("$check" "$tree" 2>&1)
    status=$?
    if [ -z "$expected" ]; then
        [ $status -eq 0 ] || fail "$file: expected to pass, got: $out"
    else
        [ $status -ne 0 ] || fail "$file: expected a failure"
        [[ $out == *"$expected"* ]] || fail "$file: expected '$expected' in: $out"
    fi
done

if [ $failures -eq 0 ]; then
    echo "check-layers: all cases passed"
fi
exit $((failures > 0))
