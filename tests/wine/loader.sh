# Sourced by run.sh and check.sh: which Wine runs the Windows build under
# test. WINEARCH, the build's (cmake/wine.cmake sets it for the tests),
# names the prefix's architecture and so the loader:
#   win32   Wine's 32-bit loader (wine32), a 32-bit prefix
#   win64   wine64, a 64-bit prefix
# A test knows no more than that: which build it runs on is the test
# command's choice (scripts/wine-route.sh).
#
# Sets wine_loader (and WINELOADER for win64, as Debian's wine does when it
# runs wine64) and defines wine_check_loader.
export WINEARCH=${WINEARCH:-win32}
case $WINEARCH in
win32) wine_loader=/usr/lib/wine/wine ;;
win64) wine_loader=/usr/lib/wine/wine64; export WINELOADER=$wine_loader ;;
*) echo "${0##*/}: WINEARCH=$WINEARCH: not win32 or win64" >&2; exit 1 ;;
esac

# Asks the loader for its version. Where the kernel refuses to run it (a
# 32-bit loader on a machine without IA-32 emulation) the test cannot run
# here: it says why and exits with 77, which ctest reports as skipped. Any
# other failure to start is the test's failure, with what the loader said.
wine_check_loader() {
    local said status=0
    said=$("$wine_loader" --version 2>&1) || status=$?
    [ "$status" -eq 0 ] && return
    if [ "$status" -eq 126 ] && [[ $said == *"Exec format error"* ]]; then
        echo "${0##*/}: SKIP: Wine's loader for $WINEARCH ($wine_loader) cannot run on this machine: $said" >&2
        echo "${0##*/}: SKIP: this kernel refuses its programs; the test command runs the Wine tests on the 64-bit build there (scripts/wine-route.sh)" >&2
        exit 77
    fi
    echo "${0##*/}: Wine's loader for $WINEARCH ($wine_loader) does not start (exit $status): $said" >&2
    exit 1
}
