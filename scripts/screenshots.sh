#!/usr/bin/env bash
# Renders the README's pictures of the window offscreen: at start-up, and
# mid-way through a real scan of the simulated module.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target gateway-screenshot
mkdir -p docs
QT_QPA_PLATFORM=offscreen build/gateway-screenshot docs/window.png
QT_QPA_PLATFORM=offscreen build/gateway-screenshot docs/scan.png scan
echo "docs/window.png docs/scan.png"
