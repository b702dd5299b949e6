#pragma once

#include <QString>

// Why something failed, as a person reads it. The system's and Qt's own
// texts ("No such file or directory", "Connection refused") are English
// whatever the person's language, or the system's locale's own wording
// where it has one. In a language other than English the program says the
// common failures in its own words; in English the system's text stays as
// it came. JSON, reports and --verbose keep the system's text: they do not
// come through here.
namespace language {

enum class Failure {
    NoSuchPort,          // a port that is not there
    NotSerial,           // something is there, but no serial device
    PortBusy,            // another program holds the port, or no access
    NoSuchFile,          // a file to read that is not there
    Folder,              // a folder where a file was named
    NoAccess,            // a file or folder that may not be read or written
    ConnectionRefused,   // the host answered that nothing listens at the port
    HostNotFound,        // a host name that resolves to nothing
    ConnectionTimedOut,  // nothing answered within the time-out
    AddressInUse,        // a port to listen at that another program holds
    AddressNotAvailable, // an address to listen at that is not this PC's
    AddressProtected,    // a port below 1024 without the right to it
};

// The failure in the person's language: the program's words, or in English
// `system`.
QString failureText(Failure failure, const QString &system);

// Why a file could not be opened, told from what is at `path`: not there,
// a folder, or no access; else `system` as it came.
QString fileFailureText(const QString &path, const QString &system);

} // namespace language
