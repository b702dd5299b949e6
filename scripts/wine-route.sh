#!/usr/bin/env bash
# Decides, by trying, which Windows build the test command's Wine tests run
# on, and says why. Prints the route as its last line on standard output;
# what it tried and found goes to standard error, for the log.
#
#   win32   this machine runs 32-bit (i386) programs and Wine's 32-bit
#           loader answers: the Wine tests run the shipped 32-bit program
#           under Wine, as its users' Windows runs it
#   win64   it does not: the Wine tests run a 64-bit build of the same
#           sources (the same Qt, options and patches) under wine64, in a
#           64-bit prefix; the 32-bit program is still built and checked
#           statically
#
#   scripts/wine-route.sh DIR      DIR: a folder for the probes, on a file
#                                  system where programs may run (the build
#                                  tree's, not a noexec /tmp)
#
# How: a tiny static program is assembled and linked for i386 (as --32,
# ld -m elf_i386: binutils, which any C++ toolchain has) and run, next to
# its x86-64 twin (which must run, or the probe proves nothing); where the
# i386 one runs, Wine's 32-bit loader is asked for its version (wine32 is
# installed for that question). The kernel's answer decides, not uname.
#
# Environment:
#   GATEWAY_WINE_ROUTE=auto|win32|win64   auto (the default) decides as
#       above; win32 or win64 forces that route whatever the probe found
#       (the probe still runs and its finding is logged). Forced win32 on a
#       machine that refuses 32-bit programs gives Wine tests that ctest
#       reports as skipped, with the reason.
#   GATEWAY_WINE_PROBE=refuse   makes the i386 probe unrunnable on purpose
#       (its ELF machine field cleared, so that the kernel refuses it with
#       the same "Exec format error" as a kernel without IA-32 emulation):
#       the decision for a 64-bit-only machine, tried on any machine.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
say() { echo "wine-route: $*" >&2; }

forced=${GATEWAY_WINE_ROUTE:-auto}
case $forced in
auto | win32 | win64) ;;
*) say "GATEWAY_WINE_ROUTE=$forced: not auto, win32 or win64"; exit 2 ;;
esac

mkdir -p "$dir"
rm -f "$dir"/probe-*

# probe ARCH: builds the probe for ARCH (i386 or x86_64) and prints its path.
probe() {
    local arch=$1 src=$dir/probe-$1.s as_flag ld_flag
    case $arch in
    i386) as_flag=--32 ld_flag=elf_i386
        # exit(0) through the i386 system call gate
        printf '.globl _start\n_start:\n\tmovl $1, %%eax\n\txorl %%ebx, %%ebx\n\tint $0x80\n' > "$src" ;;
    x86_64) as_flag=--64 ld_flag=elf_x86_64
        printf '.globl _start\n_start:\n\tmovl $60, %%eax\n\txorl %%edi, %%edi\n\tsyscall\n' > "$src" ;;
    esac
    as "$as_flag" -o "$dir/probe-$arch.o" "$src" >&2
    ld -m "$ld_flag" -o "$dir/probe-$arch" "$dir/probe-$arch.o" >&2
    echo "$dir/probe-$arch"
}

# run PROGRAM: runs it (bash's own exec: no shell fallback), sets $status and
# $said (what running it printed).
run() {
    status=0
    said=$( ("$@") 2>&1) || status=$?
}

finding="" runs32=0
x64=$(probe x86_64)
run "$x64"
if [ "$status" -ne 0 ]; then
    say "the x86-64 probe itself did not run (exit $status: $said): the i386 probe would prove nothing"
    say "(is $dir on a file system that forbids running programs?)"
    exit 1
fi
i386=$(probe i386)
if [ "${GATEWAY_WINE_PROBE:-}" = refuse ]; then
    say "GATEWAY_WINE_PROBE=refuse: the i386 probe's ELF machine field is cleared, so that the kernel refuses it"
    printf '\0\0' | dd of="$i386" bs=1 seek=18 conv=notrunc status=none
fi
run "$i386"
if [ "$status" -ne 0 ]; then
    said=$(sed -e 's/^.*: line [0-9]*: //' -e "s|$dir/||" <<< "$said")
    finding="a 32-bit (i386) program built here does not run (exit $status: $said)"
else
    # The kernel runs i386 code; Wine's 32-bit half must install and start
    # too. (An archive whose i386 lists lag its amd64 ones cannot install
    # it beside the amd64 libraries: a finding, not the test command's end.)
    if ! DEPS_TRIES=2 scripts/deps.sh wine wine32 >&2; then
        finding="a 32-bit (i386) program built here runs, but Wine's 32-bit half (wine32) cannot be installed from Debian's archive here (scripts/deps.sh above says why)"
    elif run /usr/lib/wine/wine --version; [ "$status" -ne 0 ]; then
        finding="a 32-bit (i386) program built here runs, but Wine's 32-bit loader does not start (/usr/lib/wine/wine --version: exit $status: $said)"
    else
        runs32=1
        finding="a 32-bit (i386) program built here runs, and Wine's 32-bit loader answers ($said)"
    fi
fi
say "probe: $finding"

if [ "$forced" = auto ]; then
    route=win64
    [ "$runs32" -eq 1 ] && route=win32
    why="decided by the probe"
else
    route=$forced
    why="forced by GATEWAY_WINE_ROUTE=$forced"
fi
case $route in
win32) say "route win32: the Wine tests run the shipped 32-bit program under Wine (32-bit prefix); $why" ;;
win64) say "route win64: the Wine tests run a 64-bit build of the same sources under wine64 (64-bit prefix); the 32-bit program, installer and zip are built and checked statically; $why" ;;
esac
echo "$route"
