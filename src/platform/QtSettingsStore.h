#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>

// Values of one group of the per-user QSettings of an organization and application (on Linux the file
// $XDG_CONFIG_HOME/<organization>/<application>.conf, section [<group>]).
class QtSettingsStore : public SettingsStore
{
public:
    QtSettingsStore(const QString& organization, const QString& application, const QString& group);
    ~QtSettingsStore() override;
    QtSettingsStore(const QtSettingsStore&) = delete;
    QtSettingsStore& operator=(const QtSettingsStore&) = delete;
    QString read(const QString& key, const QString& defaultValue) const override;
    void write(const QString& key, const QString& value) override;

private:
    mutable QSettings m_settings;
    QString m_group;
};
