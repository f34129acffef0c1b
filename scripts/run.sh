#!/usr/bin/env bash
# Installs what is missing, builds the programs (the window, the batch program and the
# example generator, all in build/release/bin) and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target analyse-image analyse-image-batch make-plate-example
exec build/release/bin/analyse-image "$@"
