#include "setting_module.h"

#include "protocoltables.h"

#include <QComboBox>
#include <QFileDialog>
#include <QSettings>
#include <QVariant>

namespace {

// Where each value of a settings file lives in the object: a text member,
// or for the four lists a position member; the parameter table names it.
struct Member {
    QString setting_module::*text = nullptr;
    int setting_module::*position = nullptr;
};
Member bind(QString setting_module::*text) { return {text, nullptr}; }
Member bind(int setting_module::*position) { return {nullptr, position}; }

Member memberOf(proto::Param p)
{
    switch (p) {
#define GATEWAY_FILE_MEMBER(name, member, ...)                                                                        \
    case proto::Param::name:                                                                                          \
        return bind(&setting_module::member);
#define GATEWAY_NO_MEMBER(name, ...)                                                                                  \
    case proto::Param::name:                                                                                          \
        break;
        GATEWAY_PARAMETERS(GATEWAY_FILE_MEMBER, GATEWAY_NO_MEMBER)
#undef GATEWAY_FILE_MEMBER
#undef GATEWAY_NO_MEMBER
    }
    Q_UNREACHABLE(); // a parameter that only the module supplies is kept in no file
    return {};
}

// The filter as Qt's own dialog can parse it: the pattern is taken only from
// a filter text that ends with the closing parenthesis.
const QString parsableFilter = QStringLiteral("TCP_RTU settings (*.TRset)");

void prepareDialog(QFileDialog &dialog)
{
    dialog.setNameFilter(settingsfile::filterText());
    // Qt's own dialog (as opposed to a platform dialog, which reads the
    // pattern inside the parentheses itself) finds no pattern in the filter
    // text because of its trailing ';' and would show only files named
    // "TCP_RTU", "settings" or "(*.TRset);". It filters with the parsable
    // text and shows the filter as the program spells it.
    if (auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))) {
        dialog.setNameFilter(parsableFilter);
        if (combo->count() == 1)
            combo->setItemText(0, settingsfile::filterText());
    }
}

QString runDialog(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}

} // namespace

setting_module::setting_module(QObject *parent)
    : QObject(parent)
    , moduleName()
    , ipAddress(QLatin1String(""))
    , netMask(QLatin1String(""))
    , gateway(QLatin1String(""))
    , tcpPort(QLatin1String(""))
    , rs485Speed(0)
    , stopBits(0)
    , parity(0)
    , tcpMode(0)
    , responseTimeout(QLatin1String(""))
    , serverIp(QLatin1String(""))
    , tcpTimeout(QLatin1String(""))
    , rtuVirtualId(QLatin1String(""))
    , tcpSlaveId(QLatin1String(""))
    , fileName(QLatin1String(""))
    , store(nullptr)
{
}

setting_module::~setting_module()
{
    delete store;
}

void setting_module::LoadNTSetting()
{
    fileName = settingsfile::getOpenFileName();
    LoadNTSetting(fileName);
}

void setting_module::SaveNTSetting()
{
    fileName = settingsfile::getSaveFileName();
    SaveNTSetting(fileName);
}

void setting_module::LoadNTSetting(QString FileName)
{
    delete store;
    store = settingsfile::open(FileName).release();
    for (const proto::Param p : proto::order::file)
        setValue(p, settingsfile::read(*store, p));
}

void setting_module::SaveNTSetting(QString FileName)
{
    delete store;
    store = settingsfile::save(FileName, [this](proto::Param p) { return value(p); }).release();
}

QVariant setting_module::value(proto::Param p) const
{
    const Member &m = memberOf(p);
    return m.text ? QVariant(this->*m.text) : QVariant(this->*m.position);
}

void setting_module::setValue(proto::Param p, const QVariant &value)
{
    const Member &m = memberOf(p);
    if (m.text)
        this->*m.text = value.toString();
    else
        this->*m.position = value.toInt();
}

namespace settingsfile {

QString dialogCaption()
{
    return QStringLiteral("Настройки");
}

QString filterText()
{
    return parsableFilter + QLatin1Char(';');
}

QString getOpenFileName()
{
    QFileDialog dialog(nullptr, dialogCaption(), QString());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    prepareDialog(dialog);
    return runDialog(dialog);
}

QString getSaveFileName()
{
    QFileDialog dialog(nullptr, dialogCaption(), QString());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("TRset"));
    prepareDialog(dialog);
    return runDialog(dialog);
}

} // namespace settingsfile
