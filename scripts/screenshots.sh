#!/usr/bin/env bash
# Makes the README's pictures of the window: rendered offscreen at start-up
# and mid-way through a real scan of the simulated module, and as a desktop
# shows it (tests/desktop/run.sh: X11 with a window manager) on a laptop's
# 1366 x 768 screen and at 150 % on a 1920 x 1080 one, where the form scrolls.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C.UTF-8
scripts/deps.sh xvfb openbox
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target gateway-screenshot
mkdir -p docs
# The offscreen screen says 100 dots per inch: rendered as on one of 96, the
# pictures have the window's own size in pixels.
QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96 build/gateway-screenshot docs/window.png
QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96 build/gateway-screenshot docs/scan.png scan
tests/desktop/run.sh 1366x768 build/gateway-screenshot docs/small-screen.png desktop
QT_SCALE_FACTOR=1.5 tests/desktop/run.sh 1920x1080 build/gateway-screenshot docs/scaled-150.png desktop
echo "docs/window.png docs/scan.png docs/small-screen.png docs/scaled-150.png"
