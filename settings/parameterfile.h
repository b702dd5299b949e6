#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

#include "parameters.h"

class QSettings;

// Settings files (`.TRset`): INI text with the thirteen values a module can
// be given, each under its key of the parameter table; the four lists as
// their positions, a switched-off TCP server address as "off". Other keys
// in a file are kept when it is saved again. The window's settings menu and
// the console program read and write them through these functions only.
namespace settingsfile {

enum class Check { Ok, Missing, Unreadable, Malformed };
// Whether `path` is an existing, readable file that the settings store can
// parse completely. A file that parses but lacks keys is Ok.
Check check(const QString &path);

// The store of a file, reading and writing UTF-8.
std::unique_ptr<QSettings> open(const QString &fileName);
// Whether the file holds the parameter's key, and its value: the text, or
// for a list the position; "" or 0 when the key is missing.
bool contains(const QSettings &store, proto::Param p);
QVariant read(const QSettings &store, proto::Param p);

// Sets the thirteen keys (`value` gives each) and synchronises the store at
// once. The file was written when the store is returned and its status()
// is NoError. Nothing is written and no store returned for an empty name (a
// cancelled dialog) and for an existing file that the store cannot parse,
// which is left as it is.
std::unique_ptr<QSettings> save(const QString &fileName, const std::function<QVariant(proto::Param)> &value);

} // namespace settingsfile

// The thirteen values of one settings file as a plain record, for programs
// without the window.
class ParameterFile
{
public:
    // The value of a parameter kept in files: the text, or the position.
    QVariant value(proto::Param p) const { return values[int(p)]; }
    void setValue(proto::Param p, const QVariant &v) { values[int(p)] = v; present[int(p)] = true; }
    // Whether the file that was loaded holds the parameter's key, or it was
    // set since.
    bool has(proto::Param p) const { return present[int(p)]; }

    // Reads the file; false, with the reason, when it cannot be read or
    // parsed, or says nothing of the module.
    bool load(const QString &fileName, QString *error);
    // Writes every value (the window's save: other keys kept); false, with
    // the reason, when the file was not written.
    bool save(const QString &fileName, QString *error) const;

private:
    QVariant values[proto::ParamCount];
    bool present[proto::ParamCount] = {};
};
