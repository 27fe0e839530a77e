#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The text of `key` in the section [group] of the bytes of a per-user settings file (QSettings' INI form) as the user
// typed it: the last such line, the blanks around it removed, QSettings' quotes and backslash escapes undone, its
// commas kept; nothing when the file holds no such key. Lines are split as QSettings splits them: a ";" outside
// quotes starts a comment, a line break inside quotes or after a backslash does not end the line.
std::optional<QString> TypedSettingsValue(const QByteArray& file, const QString& group, const QString& key);
