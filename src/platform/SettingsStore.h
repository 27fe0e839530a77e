#pragma once

#include <QString>

// The per-user settings store of the program's parameters (section "param").
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // The stored text of `key`, or `defaultValue` when the key does not exist.
    virtual QString read(const QString& key, const QString& defaultValue) const = 0;
    // Creates or replaces `key` with `value`.
    virtual void write(const QString& key, const QString& value) = 0;
};
