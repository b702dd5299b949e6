// Asks a COM port the way the serial library does for its "data arrived"
// event: IOCTL_SERIAL_WAIT_ON_MASK through NtDeviceIoControlFile with a
// completion routine and no event, on an overlapped handle. Windows queues
// the routine when the wait completes; the probe sends one command first so
// that the reply is waiting and the wait completes at once.
//
//   commwaitprobe.exe COM7
//
// Exit code 0: the routine ran. 3: it did not (the serial library would
// never hear of received data). 1: the port could not be used.
#include <windows.h>
#include <winternl.h>

#include <cstdio>

namespace {
constexpr ULONG waitOnMask = CTL_CODE(FILE_DEVICE_SERIAL_PORT, 18, METHOD_BUFFERED, FILE_ANY_ACCESS);
using NtDeviceIoControlFileFn = NTSTATUS(NTAPI *)(HANDLE, HANDLE, PIO_APC_ROUTINE, PVOID, PIO_STATUS_BLOCK,
                                                  ULONG, PVOID, ULONG, PVOID, ULONG);
bool routineRan = false;

void NTAPI completed(PVOID, PIO_STATUS_BLOCK, ULONG)
{
    routineRan = true;
}
} // namespace

int main(int argc, char **argv)
{
    const char *port = argc > 1 ? argv[1] : "COM7";
    char path[64];
    std::snprintf(path, sizeof path, "\\\\.\\%s", port);
    const auto ioctl = reinterpret_cast<NtDeviceIoControlFileFn>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDeviceIoControlFile")));
    HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED,
                           nullptr);
    if (!ioctl || h == INVALID_HANDLE_VALUE) {
        std::printf("commwaitprobe: %s cannot be opened (%lu)\n", port, GetLastError());
        return 1;
    }
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    SetCommTimeouts(h, &timeouts);
    SetCommMask(h, EV_RXCHAR);

    OVERLAPPED write{};
    write.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD n = 0;
    if (!WriteFile(h, "MODE TCP", 8, nullptr, &write) && GetLastError() != ERROR_IO_PENDING) {
        std::printf("commwaitprobe: writing to %s failed (%lu)\n", port, GetLastError());
        return 1;
    }
    GetOverlappedResult(h, &write, &n, TRUE);
    Sleep(500); // the reply arrives and waits in the input queue

    DWORD mask = 0;
    IO_STATUS_BLOCK io{};
    io.Status = STATUS_PENDING;
    const NTSTATUS status = ioctl(h, nullptr, completed, nullptr, &io, waitOnMask, nullptr, 0, &mask, sizeof mask);
    SleepEx(1000, TRUE); // alertable: a queued routine runs here
    std::printf("commwaitprobe: %s: wait returned 0x%08lx, mask 0x%lx, completion routine %s\n", port,
                static_cast<unsigned long>(status), static_cast<unsigned long>(mask),
                routineRan ? "ran" : "never ran");
    CloseHandle(h);
    return routineRan ? 0 : 3;
}
