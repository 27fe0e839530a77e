#include "platform/QtSettingsStore.h"

#include "platform/SettingsFile.h"

#include <QFile>

namespace {

// QSettings writes to the error stream when a value typed by hand in the file looks like one of its own encodings
// ("@Variant(...)" of an unknown type). Such a value is read as its text here, so the warning tells the user nothing:
// it is kept quiet while the store uses QSettings.
class QuietSettingsWarnings
{
public:
    QuietSettingsWarnings() { s_previous = qInstallMessageHandler(&QuietSettingsWarnings::handle); }
    ~QuietSettingsWarnings() { qInstallMessageHandler(s_previous); }
    QuietSettingsWarnings(const QuietSettingsWarnings&) = delete;
    QuietSettingsWarnings& operator=(const QuietSettingsWarnings&) = delete;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (message.startsWith(QLatin1String("QVariant::load")))
            return;
        if (s_previous)
            s_previous(type, context, message);
    }
    static inline QtMessageHandler s_previous = nullptr;
};

} // namespace

QtSettingsStore::QtSettingsStore(const QString& organization, const QString& application, const QString& group)
    : m_settings(organization, application), m_group(group)
{}

QtSettingsStore::~QtSettingsStore()
{
    const QuietSettingsWarnings quiet;
    m_settings.sync();
}

QString QtSettingsStore::read(const QString& key, const QString& defaultValue) const
{
    const QuietSettingsWarnings quiet;
    m_settings.beginGroup(m_group);
    const QVariant value = m_settings.value(key);
    const bool present = m_settings.contains(key);
    m_settings.endGroup();
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    if (!present)
        return defaultValue;
    // Anything QSettings does not read as a text (a list made by a comma typed without quotes, "@Variant(...)" typed
    // by hand...) is the text as typed.
    QFile file(m_settings.fileName());
    if (file.open(QIODevice::ReadOnly)) {
        if (const auto typed = TypedSettingsValue(file.readAll(), m_group, key))
            return *typed;
    }
    return value.toStringList().join(u','); // from a system-wide file
}

void QtSettingsStore::write(const QString& key, const QString& value)
{
    const QuietSettingsWarnings quiet;
    m_settings.beginGroup(m_group);
    m_settings.setValue(key, value);
    m_settings.endGroup();
    m_settings.sync();
}
