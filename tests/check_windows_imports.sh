#!/bin/bash
# Checks that nothing of a Windows build needs more than Windows 7: reads the
# import tables of every .exe and .dll given (or found under the folders
# given) with MinGW objdump and fails on
#   * a DLL that Windows 7 does not have (shcore.dll, combase.dll, the
#     universal C runtime, API sets: Windows 7 has only a few API sets and
#     nothing shipped should name one), or
#   * a function that Windows 7's system DLLs lack (the list below: what
#     Windows 8 and later added to kernel32, user32 and ws2_32 that a Qt,
#     MinGW or C++ runtime build could call directly).
# A file from which no import at all is read fails too, so that a change of
# objdump's output cannot make the check pass on nothing.
#
# Usage: tests/check_windows_imports.sh FILE-OR-FOLDER...
# Needs binutils-mingw-w64-i686 (OBJDUMP may name another objdump:
# x86_64-w64-mingw32-objdump for a 64-bit build).
set -u
set -o pipefail

me=check_windows_imports
fail() { echo "$me: FAIL: $*" >&2; exit 1; }
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
. "$(dirname "${BASH_SOURCE[0]}")/need.sh"
case $objdump in
x86_64-*) need "$objdump" binutils-mingw-w64-x86-64 ;;
*) need "$objdump" binutils-mingw-w64-i686 ;;
esac
[ $# -gt 0 ] || fail "usage: $0 FILE-OR-FOLDER..."

missing_dlls='^(shcore|combase|dcomp|d3d12|ucrtbase|vcruntime140|msvcp140|api-ms-win-.*|ext-ms-win-.*)\.dll$'

missing_functions=(
    # kernel32
    GetSystemTimePreciseAsFileTime CreateFile2 CopyFile2 GetOverlappedResultEx
    GetCurrentThreadStackLimits SetThreadDescription GetThreadDescription
    WaitOnAddress WakeByAddressSingle WakeByAddressAll
    InitializeSynchronizationBarrier EnterSynchronizationBarrier DeleteSynchronizationBarrier
    PrefetchVirtualMemory DiscardVirtualMemory OfferVirtualMemory ReclaimVirtualMemory
    VirtualAlloc2 MapViewOfFile3 CreateFileMappingFromApp MapViewOfFileFromApp
    OpenFileMappingFromApp VirtualAllocFromApp VirtualProtectFromApp LoadPackagedLibrary
    GetPackageFamilyName GetPackageFullName GetCurrentPackageId GetCurrentPackageFullName
    GetCurrentPackageFamilyName GetCurrentPackagePath GetSystemTimeAdjustmentPrecise
    QueryUnbiasedInterruptTimePrecise QueryInterruptTime QueryInterruptTimePrecise
    GetProcessMitigationPolicy SetProcessMitigationPolicy GetFirmwareType
    GetProcessInformation SetProcessInformation GetThreadInformation SetThreadInformation
    GetSystemCpuSetInformation GetProcessDefaultCpuSets SetThreadSelectedCpuSets
    SetDefaultDllDirectories AddDllDirectory RemoveDllDirectory
    EnumDynamicTimeZoneInformation GetDynamicTimeZoneInformationEffectiveYears
    GetTempPath2A GetTempPath2W
    # user32
    GetDpiForWindow GetDpiForSystem GetSystemMetricsForDpi SystemParametersInfoForDpi
    AdjustWindowRectExForDpi EnableNonClientDpiScaling SetProcessDpiAwarenessContext
    SetThreadDpiAwarenessContext GetThreadDpiAwarenessContext GetWindowDpiAwarenessContext
    GetAwarenessFromDpiAwarenessContext AreDpiAwarenessContextsEqual
    IsValidDpiAwarenessContext GetDpiFromDpiAwarenessContext
    LogicalToPhysicalPointForPerMonitorDPI PhysicalToLogicalPointForPerMonitorDPI
    GetPointerType GetPointerInfo GetPointerFrameInfo GetPointerTouchInfo
    GetPointerFrameTouchInfo GetPointerPenInfo GetPointerFramePenInfo GetPointerDevice
    GetPointerDevices GetPointerDeviceRects GetPointerCursorId EnableMouseInPointer
    IsMouseInPointerEnabled RegisterPointerDeviceNotifications InitializeTouchInjection
    InjectTouchInput SkipPointerFrameMessages GetDisplayAutoRotationPreferences
    SetDisplayAutoRotationPreferences GetAutoRotationState GetCurrentInputMessageSource
    GetCIMSSM IsImmersiveProcess RegisterTouchHitTestingWindow EvaluateProximityToRect
    # ws2_32
    GetAddrInfoExCancel GetAddrInfoExOverlappedResult
)

declare -A lacking
for fn in "${missing_functions[@]}"; do lacking[$fn]=1; done

files=()
for arg in "$@"; do
    if [ -d "$arg" ]; then
        while IFS= read -r -d '' f; do files+=("$f"); done < <(find "$arg" -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0 | sort -z)
    elif [ -f "$arg" ]; then
        files+=("$arg")
    else
        fail "no such file or folder: $arg"
    fi
done
[ ${#files[@]} -gt 0 ] || fail "no .exe or .dll in $*"

bad=0
for f in "${files[@]}"; do
    headers=$("$objdump" -p "$f" 2>&1) || fail "objdump cannot read $f: $headers"
    # "DLL Name: X" starts a DLL's imports; each import is a line of address,
    # hint and name.
    imports=$(awk '/^\tDLL Name: / { dll = tolower($3); print dll " -"; next }
                   dll != "" && /^\t[0-9a-f]+\t +[0-9]+  [A-Za-z_?@$]/ { print dll, $3 }
                   /^$/ { dll = "" }' <<< "$headers")
    count=$(grep -vc ' -$' <<< "$imports")
    [ "$count" -gt 0 ] || fail "$f: no imports read (objdump's output not understood)"
    found=0
    while read -r dll fn; do
        if [ "$fn" = - ]; then
            if [[ $dll =~ $missing_dlls ]]; then
                echo "$me: $f imports $dll, which Windows 7 lacks" >&2
                found=1
            fi
        elif [ -n "${lacking[$fn]:-}" ]; then
            echo "$me: $f imports $fn from $dll, which Windows 7 lacks" >&2
            found=1
        fi
    done <<< "$imports"
    [ "$found" -eq 1 ] && bad=1 ||
        echo "$me: ok: ${f##*/}: $count imports from $(grep -c ' -$' <<< "$imports") DLLs"
done
[ "$bad" -eq 0 ] || fail "something shipped needs more than Windows 7"
echo "$me: PASS (${#files[@]} files)"
