#pragma once

#include "platform/ScreenReader.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <utility>

class FakeScreenReader : public ScreenReader
{
public:
    void valueChanged(QWidget* control, const QString& text) override { told.append({control->objectName(), text}); }
    void announce(QWidget* control, const QString& text) override { spoken.append({control->objectName(), text}); }
    QList<std::pair<QString, QString>> told;   // object name, text
    QList<std::pair<QString, QString>> spoken; // object name, text
};
