#pragma once

#include "platform/SettingsStore.h"

#include <QMap>
#include <QStringList>

// Settings in memory; `writes` keeps the order of the keys written.
class FakeSettingsStore : public SettingsStore
{
public:
    QString read(const QString& key, const QString& defaultValue) const override
    {
        return values.value(key, defaultValue);
    }
    void write(const QString& key, const QString& value) override
    {
        values.insert(key, value);
        writes << key;
    }

    QMap<QString, QString> values;
    QStringList writes;
};
