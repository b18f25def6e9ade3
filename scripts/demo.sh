#!/bin/sh
# Converts a sample tree with morva-cli: names to upper case with the general rule. Everything happens
# in a fresh temporary directory (the settings file too, through --home); nothing else is touched.
set -eu
cli=${MORVA_CLI:-./build/src/morva-cli}
tmp=$(mktemp -d)
mkdir -p "$tmp/photos/2024"
touch "$tmp/photos/beach.jpg" "$tmp/photos/notes.txt" "$tmp/photos/2024/party.jpg"
job="--home $tmp --set SW_FNM=1 --set FNM_IPN_SEL=1 --set FNM_IPN2=1 --set SW_SET=111000000000"

echo "== preview: what the job would do"
$cli $job preview "$tmp/photos"
echo "== run"
$cli $job run --yes "$tmp/photos"
echo "== the tree afterwards"
find "$tmp/photos" | sort
echo "== the runs in the log"
$cli --home "$tmp" runs
echo "== undo the run from the log"
$cli --home "$tmp" --yes undo
find "$tmp/photos" | sort
echo "(sample tree and morva.dat left in $tmp)"
