#pragma once

#include <QObject>
#include <QString>

// `object` with its object name set, the name the tests and the screen reader find it by; for building a window's
// controls in one expression.
template <typename T> T* Named(T* object, const QString& name)
{
    object->setObjectName(name);
    return object;
}
