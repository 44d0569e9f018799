#!/usr/bin/env bash
# The demo: installs what is missing, builds the rigel program, and loads the example survey
# (examples/track_2km.kof, two rails of about 2 km) the way a track design application does:
# the feature codes of the rails are given, the points are sorted and cleaned, and the centre
# track is built between the rails. Shows the sorter's report and the first rows of the centre
# track; the whole track is left in build/release/demo/centre.csv.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

dir=build/release
cmake -S . -B "$dir" -G Ninja -DRIGEL_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j "${RIGEL_JOBS:-2}" --target rigel-cli

demo="$dir/demo"
mkdir -p "$demo"
# A profile of the demo's own, so that the codes it assigns stay out of the user's.
rm -f "$demo/profile.ini"
rigel=("$dir/rigel")

echo
echo "== Without feature codes nothing is read; the message names the file's codes:"
echo "\$ rigel load examples/track_2km.kof"
status=0
"${rigel[@]}" load examples/track_2km.kof --profile "$demo/profile.ini" || status=$?
echo "(exit code $status)"

echo
echo "== With the codes of the left and right rail:"
echo "\$ rigel load examples/track_2km.kof --left 7111 --right 7112 --analyse -o $demo/centre.csv"
"${rigel[@]}" load examples/track_2km.kof --left 7111 --right 7112 --analyse \
    --profile "$demo/profile.ini" -o "$demo/centre.csv"

echo
echo "== The first rows of the centre track ($(($(wc -l <"$demo/centre.csv") - 1)) points):"
head -n 11 "$demo/centre.csv"

echo
echo "== The codes are remembered in the profile ($demo/profile.ini), so the next load needs none:"
echo "\$ rigel load examples/track_2km.kof | tail -n 3"
"${rigel[@]}" load examples/track_2km.kof --profile "$demo/profile.ini" 2>/dev/null | tail -n 3

echo
echo "== The example project saved in every format the library writes:"
echo "\$ rigel convert examples/track_2km.spw $demo/out/demo --type all --rail-exports"
mkdir -p "$demo/out"
"${rigel[@]}" convert examples/track_2km.spw "$demo/out/demo" --type all --rail-exports \
    --profile "$demo/profile.ini"
