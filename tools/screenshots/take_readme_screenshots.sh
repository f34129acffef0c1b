#!/usr/bin/env bash
# Takes the README's screenshots of the worked example under Xvfb and stores them in
# docs/, reduced to a palette of 96 colours so that they stay small.
#   take_readme_screenshots.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "$1")
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT

cmake --build "$build" --target readme-screenshots >/dev/null
xvfb-run -a -s "-screen 0 1280x1280x24" "$build/bin/readme-screenshots" "$root/examples" "$shots"
for name in example-main example-map; do
  convert "$shots/$name.png" -dither None -colors 96 "PNG8:$root/docs/$name.png"
done
ls -l "$root"/docs/example-*.png
