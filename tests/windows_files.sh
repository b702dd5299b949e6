# Sourced by tests/wine/check.sh and tests/check_windows_package.sh: what
# the Windows installer and zip put into the program's folder, written out
# here (not taken from the build, which it checks). One file a line: a
# program or DLL added to the packages is added here.
#
#   windows_shipped ARCH    prints the list for win32 or win64; the GCC
#                           runtime differs (DWARF-2 unwinding on i686, SEH
#                           on x86-64)
#   windows_notice_names    prints what licenses/NOTICE.txt must name, one
#                           a line
windows_shipped() {
    local libgcc
    case $1 in
    win32) libgcc=libgcc_s_dw2-1.dll ;;
    win64) libgcc=libgcc_s_seh-1.dll ;;
    *) echo "windows_shipped: $1: not win32 or win64" >&2; return 1 ;;
    esac
    cat <<EOF
bin/gateway-configurator.exe
bin/gateway-cli.exe
bin/Qt5Core.dll
bin/Qt5Gui.dll
bin/Qt5Widgets.dll
bin/Qt5SerialPort.dll
bin/Qt5Network.dll
bin/Qt5SerialBus.dll
bin/platforms/qwindows.dll
bin/imageformats/qico.dll
bin/styles/qwindowsvistastyle.dll
bin/libstdc++-6.dll
bin/$libgcc
bin/libwinpthread-1.dll
licenses/NOTICE.txt
licenses/gateway-configurator.txt
licenses/LGPL-3.txt
licenses/GPL-3.txt
licenses/GCC-RUNTIME-LIBRARY-EXCEPTION-3.1.txt
licenses/winpthreads.txt
licenses/qtserialport-wine-commwait.patch
EOF
}

windows_notice_names() {
    cat <<EOF
qtbase 5.15.8
Qt SerialPort 5.15.15
Qt SerialBus 5.15.15
qtserialport-wine-commwait.patch
GCC Runtime Library Exception
EOF
}

# windows_check_tree ARCH DIR: the program's folder DIR (installed or
# unpacked) holds what is shipped, and its licenses/NOTICE.txt names the Qt
# sources and each program and DLL shipped (bin\...). Says what is wrong on
# standard error and returns 1; returns 0 when all is there.
windows_check_tree() {
    local arch=$1 dir=$2 f bad=0
    local -a files names
    mapfile -t files < <(windows_shipped "$arch")
    mapfile -t names < <(windows_notice_names)
    [ ${#files[@]} -gt 0 ] || return 1
    for f in "${files[@]}"; do
        [ -f "$dir/$f" ] || { echo "missing: $f" >&2; bad=1; }
    done
    [ -f "$dir/licenses/NOTICE.txt" ] || return 1
    for f in "${files[@]}"; do
        [[ $f == bin/* ]] && names+=("${f//\//\\}")
    done
    for f in "${names[@]}"; do
        grep -qF "$f" "$dir/licenses/NOTICE.txt" || { echo "licenses/NOTICE.txt does not name $f" >&2; bad=1; }
    done
    return "$bad"
}
