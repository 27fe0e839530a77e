#pragma once

#include "common/Result.h"

#include <QLibrary>
#include <QStringList>

#include <functional>
#include <memory>

class MediaPlayer;
class Printer;
class SerialPort;
class Sidetone;
class Speech;

// The services that reach the system through large libraries (the sound output with Qt Multimedia and the sound
// server's client, the serial port, the printer, the speech server's voice, the microphone and MIDI key inputs),
// kept in a module of their own, loaded at their first use: the window's first paint does not wait for those
// libraries.
class ServicesModule
{
public:
    // Tells the user, once, that the module is missing or does not load.
    using Tell = std::function<void(const QString& message)>;

    // `places`: the module's possible files, the first that exists is loaded. `consequence`: what the user misses
    // when it does not load (the services' by default).
    ServicesModule(QStringList places, Tell tell, QString consequence = {});
    ServicesModule(const ServicesModule&) = delete;
    ServicesModule& operator=(const ServicesModule&) = delete;

    // Where the module is looked for: beside the executable in `executableFolder` (the build folder), then where
    // it is installed.
    static QStringList Places(const QString& executableFolder);
    // The same for the module file `file`.
    static QStringList Places(const QString& executableFolder, const QString& file);

    Result<std::unique_ptr<MediaPlayer>> makePlayer();
    Result<std::unique_ptr<Sidetone>> makeSidetone();
    Result<std::unique_ptr<SerialPort>> makeSerialPort();
    Result<std::unique_ptr<Printer>> makePrinter();
    Result<std::unique_ptr<Speech>> makeSpeech();

    // An object of the module made by its function `entry`, for services that other folders declare (the key
    // inputs): `T*` is what the function returns.
    template <typename T> Result<std::unique_ptr<T>> make(const char* entry)
    {
        const Result<QFunctionPointer> function = resolve(entry);
        if (!function)
            return Fail(function.failure());
        return std::unique_ptr<T>(reinterpret_cast<T* (*)()>(*function)());
    }

private:
    Failure load();
    // The module's function `entry`, or why there is none.
    Result<QFunctionPointer> resolve(const char* entry);

    QStringList m_places;
    Tell m_tell;
    QString m_consequence;
    QLibrary m_library; // never unloaded: the objects it made live until the program ends
    bool m_tried = false;
    Failure m_failure;
};
