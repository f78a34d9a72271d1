#!/usr/bin/env bash
# A source file with its header is something a reader takes in at once; past
# 600 lines it holds more than one concept and wants splitting. Every room's
# pair over the mark is printed, and the test fails.
#   sizes_test.sh SOURCE_ROOT
set -euo pipefail
root=${1:?usage: sizes_test.sh SOURCE_ROOT}
cd "$root"
limit=600
faults=0
while IFS= read -r source; do
    header=${source%.cpp}.h
    lines=$(cat "$source" $([ -f "$header" ] && echo "$header") | wc -l)
    if [ "$lines" -gt "$limit" ]; then
        echo "$source: $lines lines with its header"
        faults=$((faults + 1))
    fi
done < <(find settings ui net htmlview processing extract ebook search archive update catalogue \
              publications app tools -name '*.cpp' 2>/dev/null | sort)
[ "$faults" -eq 0 ]
