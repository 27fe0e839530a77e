#pragma once

#include "common/Result.h"

#include <QLibrary>
#include <QStringList>

#include <functional>
#include <memory>

class MediaPlayer;
class Sidetone;

// The program's sound output (Qt Multimedia and the sound server's client), kept in a module of its own that is
// loaded at its first use: the window's first paint does not wait for those libraries.
class AudioModule
{
public:
    // Tells the user, once, that there is no sound: the module is missing or does not load.
    using Tell = std::function<void(const QString& message)>;

    // `places`: the module's possible files, the first that exists is loaded.
    AudioModule(QStringList places, Tell tell);
    AudioModule(const AudioModule&) = delete;
    AudioModule& operator=(const AudioModule&) = delete;

    // Where the module is looked for: beside the executable in `executableFolder` (the build folder), then where
    // it is installed.
    static QStringList Places(const QString& executableFolder);

    Result<std::unique_ptr<MediaPlayer>> makePlayer();
    Result<std::unique_ptr<Sidetone>> makeSidetone();

private:
    Failure load();

    QStringList m_places;
    Tell m_tell;
    QLibrary m_library; // never unloaded: the objects it made live until the program ends
    bool m_tried = false;
    Failure m_failure;
    MediaPlayer* (*m_player)() = nullptr;
    Sidetone* (*m_sidetone)() = nullptr;
};
