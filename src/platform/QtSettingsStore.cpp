#include "platform/QtSettingsStore.h"

#include "app/Parameters.h"

QtSettingsStore::QtSettingsStore()
    : m_settings(QString::fromUtf16(Parameters::Organization), QString::fromUtf16(Parameters::Application))
{}

QString QtSettingsStore::read(const QString& key, const QString& defaultValue) const
{
    m_settings.beginGroup(QString::fromUtf16(Parameters::Section));
    const QVariant value = m_settings.value(key);
    m_settings.endGroup();
    // Every value is text; a key present as a list or anything else is read as its text form.
    if (!value.isValid())
        return defaultValue;
    return value.toString();
}

void QtSettingsStore::write(const QString& key, const QString& value)
{
    m_settings.beginGroup(QString::fromUtf16(Parameters::Section));
    m_settings.setValue(key, value);
    m_settings.endGroup();
    m_settings.sync();
}
