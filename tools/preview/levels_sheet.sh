#!/bin/sh
# Draws the README's contact sheet of every shipped level from the built maps:
# the campaigns in their list order (by folder name), then the time-attack,
# race and castle maps.
#   tools/preview/levels_sheet.sh build/tools/tavrelo-preview build/runtime/maps docs/levels.png
set -e
preview=$1 maps=$2 out=$3
set --
for campaign in "$maps"/*/; do
    [ -f "$campaign/description.txt" ] || continue
    # The campaign's name is the line after "Name:".
    name=$(sed -n '/^Name:/{n;p;q}' "$campaign/description.txt")
    set -- "$@" --group "$name" "$campaign"*.slv
done
timeattack=$(ls "$maps"/*.slv | grep -v '/ca-\|/ra-')
set -- "$@" --group "Time attack" $timeattack --group "Race" "$maps"/ra-*.slv --group "Castle attack" "$maps"/ca-*.slv
"$preview" --sheet "$out" "$@" > /dev/null
