#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the systemd user
# units of scheduled runs with systemd-analyze: no error and no warning, the
# services naming the installed program. Skipped (77) without systemd-analyze.
set -euo pipefail
cmake_command=$1
build=$2
command -v systemd-analyze >/dev/null || { echo "systemd-analyze not found"; exit 77; }
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake_command" --install "$build" --prefix "$prefix" >/dev/null
units="$prefix/share/systemd/user"
for source in kp kt; do
    for kind in service timer; do
        [ -f "$units/norvel2-$source.$kind" ] || { echo "missing norvel2-$source.$kind"; exit 1; }
    done
    grep -qx "ExecStart=$prefix/bin/norvel2 -$source" "$units/norvel2-$source.service" ||
        { echo "norvel2-$source.service does not start the installed program"; exit 1; }
done
output=$(cd "$units" && systemd-analyze verify norvel2-kp.service norvel2-kp.timer \
    norvel2-kt.service norvel2-kt.timer 2>&1) || { echo "$output"; exit 1; }
[ -z "$output" ] || { echo "$output"; exit 1; }
echo "the four units pass systemd-analyze verify"
