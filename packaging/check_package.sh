#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine (with apt, so that missing
# dependencies come too), runs the batch program on the installed example, starts the
# program under Xvfb until its main window shows, then removes the package. Needs root.
#   packaging/check_package.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
cmake --build "$build" >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls "$build"/analyse-image_*_amd64.deb)

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$package" >/dev/null
work=$(mktemp -d)
trap 'dpkg -r analyse-image >/dev/null; rm -rf "$work"' EXIT

grep -q "GNU General Public License" /usr/share/doc/analyse-image/copyright
echo "analyse-image: the copyright file gives the licence"

examples=/usr/share/doc/analyse-image/examples
analyse-image-batch --study=sxx --plane-stress --young=2000 --poisson=0.3 \
  --map-png="$work/map.png" --image="$examples/plate-free.png" "$examples/plate-with-hole.MEF"
test -s "$work/map.png"
echo "analyse-image-batch: the map of the installed example is written"

cat >"$work/start.sh" <<'SCRIPT'
analyse-image &
pid=$!
timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name "^Analyse d'image$" >/dev/null
status=$?
kill "$pid"
exit "$status"
SCRIPT
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/start.sh"
echo "analyse-image: the main window shows"
