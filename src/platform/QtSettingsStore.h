#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>

// The parameters in QSettings, organization and application "tonique", group "param" (on Linux the file
// $XDG_CONFIG_HOME/tonique/tonique.conf).
class QtSettingsStore : public SettingsStore
{
public:
    QtSettingsStore();
    QString read(const QString& key, const QString& defaultValue) const override;
    void write(const QString& key, const QString& value) override;

private:
    mutable QSettings m_settings;
};
