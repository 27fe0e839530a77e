#pragma once

#include <QString>

// A value as a message quotes it: whole when it is short, otherwise its first characters and "…", `limit` characters
// in all, so that a runaway value read from a file or the settings cannot fill the screen.
QString Excerpt(const QString& text, qsizetype limit = 80);
