#!/usr/bin/env bash
# The program a scheduler starts loads the console libraries only: neither
# Qt's GUI and widget libraries nor the book tools, whose loading took most
# of an unattended run's start. A dependency that brings one back fails here.
set -euo pipefail
program=$1
needed=$(ldd "$program")
for library in libQt6Gui libQt6Widgets libxml2 libzip; do
    if grep -q "$library" <<<"$needed"; then
        echo "$program loads $library"
        exit 1
    fi
done
