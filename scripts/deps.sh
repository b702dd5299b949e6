#!/usr/bin/env bash
# Installs what the project needs from Debian's packages, only what is
# missing. Runs apt-get directly as root, through sudo otherwise.
# Usage: scripts/deps.sh [extra package ...]
# Without arguments: what building and running the program needs; the test
# command passes what its stages need besides. DEPS_TRIES: how many times
# apt-get is asked before the install is called failed (default 4).
set -euo pipefail

# fonts-liberation2: Liberation Serif, the face with the metrics of the
# window's "Times New Roman", which Linux lacks. qttools5-dev: Qt's
# translation tools (Qt5LinguistTools: lrelease builds gateway-cli's
# translations, lupdate keeps them current).
packages=(
    cmake ninja-build g++ cpp pkg-config
    qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev libqt5serialbus5-dev qttools5-dev
    fonts-liberation2
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    # (A new Debian machine has no sudo: there the commands run as root.)
    command -v sudo >/dev/null 2>&1 ||
        { echo "deps: installing ${missing[*]} needs root: run this as root, or install sudo" >&2; exit 1; }
    sudo="sudo"
fi
echo "deps: installing ${missing[*]}"
# Wine runs 32-bit Windows programs with its i386 half.
if [[ " ${missing[*]} " == *" wine32 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
# A mirror caught mid-sync serves an index or a package of the wrong size
# and apt-get fails for the moment: asked again a little later, it passes.
# (A failed update still leaves lists to install from.)
tries=${DEPS_TRIES:-4}
for attempt in $(seq "$tries"); do
    $sudo apt-get update -qq || echo "deps: apt-get update failed (attempt $attempt)" >&2
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" && exit 0
    [ "$attempt" -lt "$tries" ] || break
    echo "deps: installing failed (attempt $attempt); again in $((attempt * 30)) s" >&2
    sleep $((attempt * 30))
done
echo "deps: FAIL: ${missing[*]} could not be installed from Debian's archive" >&2
exit 1
