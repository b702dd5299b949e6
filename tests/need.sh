# Sourced by the test scripts: what a check runs that a new Debian machine
# (the minbase set, a compiler, CMake and git) lacks is asked for by name
# before it is used, so that a missing tool fails the check as such, and not
# with a wrong result further on.
#
#   need PROGRAM PACKAGE    fails, naming both, unless PROGRAM is on the PATH
#
# The test command installs every PACKAGE named so (scripts/test.sh).
need() {
    command -v "$1" >/dev/null 2>&1 && return 0
    echo "${0##*/}: FAIL: the program '$1' is missing: it comes in Debian's package $2, which the test command installs (scripts/deps.sh $2)" >&2
    exit 1
}
