#!/usr/bin/env bash
# The rooms of the code stand on floors; a file includes only headers of its
# own room or of rooms on lower floors, so no two rooms include each other
# and a room can be read, built and tested without the ones above it. Every
# include of a room that breaks this is printed, and the test fails.
#   floors_test.sh SOURCE_ROOT
set -euo pipefail
root=${1:?usage: floors_test.sh SOURCE_ROOT}
cd "$root"

# Floor of each room, from the ground up.
declare -A floor=(
    [settings]=0
    [ui]=1
    [net]=2 [htmlview]=2 [processing]=2
    [ebook]=3 [search]=3 [extract]=3
    [archive]=4 [update]=4 [catalogue]=4 [publications]=4
    [app]=5
    [tools]=6
)

faults=0
for room in "${!floor[@]}"; do
    [ -d "$room" ] || continue
    while IFS=: read -r file line include; do
        target=${include#*\"}
        target=${target%%\"*}
        to=${target%%/*}
        [ "$to" = "$target" ] && continue # moc output and the like
        [ "$to" = "$room" ] && continue
        if [ -z "${floor[$to]+set}" ]; then
            echo "$file:$line: includes $target, of no known room"
            faults=$((faults + 1))
        elif [ "${floor[$to]}" -ge "${floor[$room]}" ]; then
            echo "$file:$line: $room (floor ${floor[$room]}) includes $target of $to (floor ${floor[$to]})"
            faults=$((faults + 1))
        fi
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$room" \
                 --include='*.h' --include='*.cpp' || true)
done

# A folder of code that is no room is a room the list above forgot.
for dir in */; do
    dir=${dir%/}
    case "$dir" in build* | tests | data | cmake | scripts | demo-home) continue ;; esac
    if [ -z "${floor[$dir]+set}" ] && [ -n "$(find "$dir" -name '*.cpp' -print -quit)" ]; then
        echo "$dir/: code in a folder with no floor"
        faults=$((faults + 1))
    fi
done

if [ "$faults" -gt 0 ]; then
    echo "$faults include(s) against the floors"
    exit 1
fi
