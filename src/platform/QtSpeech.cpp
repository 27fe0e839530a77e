#include "platform/QtSpeech.h"

#include "platform/SpeechVoice.h"

#include <QLocale>
#include <QThread>

#include <memory>

using namespace Qt::StringLiterals;

void SpeechVoice::start()
{
    const QString engine = u"speechd"_s;
    if (!QTextToSpeech::availableEngines().contains(engine)) {
        emit found(false, u"Aucun moteur de synthèse vocale n'est installé (paquets qt6-speech-speechd-plugin et "
                          u"speech-dispatcher-espeak-ng)."_s);
        return;
    }
    m_engine = std::make_unique<QTextToSpeech>(engine);
    const QLocale french(QLocale::French, QLocale::France);
    if (m_engine->state() == QTextToSpeech::Error) {
        m_engine.reset();
        emit found(false, u"Le moteur de synthèse vocale ne répond pas (speech-dispatcher)."_s);
    } else if (!m_engine->availableLocales().contains(french)) {
        m_engine.reset();
        emit found(false,
                   u"Le moteur de synthèse vocale n'a pas de voix française (paquet speech-dispatcher-espeak-ng)."_s);
    } else {
        m_engine->setLocale(french);
        emit found(true, QString());
    }
}

void SpeechVoice::say(const QString& text)
{
    if (!m_engine)
        return;
    m_engine->stop();
    m_engine->say(text);
}

QtSpeech::QtSpeech()
{
    m_reason = u"Recherche d'une voix française\u2026"_s;
}

QtSpeech::~QtSpeech()
{
    if (!m_thread)
        return;
    // The voice is let go in its own thread, the server's connection with it, and the thread ends there.
    QMetaObject::invokeMethod(
        m_voice,
        [voice = m_voice, thread = m_thread] {
            voice->stop();
            thread->quit();
        },
        Qt::QueuedConnection);
    // A server that never answered keeps its thread: it is left to end with the program rather than wait for it.
    if (m_thread->wait(1000)) {
        delete m_voice;
        delete m_thread;
    }
}

void QtSpeech::find(const std::function<void()>& known)
{
    if (m_known) {
        known();
        return;
    }
    m_waiting.push_back(known);
    if (m_searching)
        return;
    m_searching = true;
    m_thread = new QThread;
    m_thread->setObjectName(u"voix"_s);
    m_voice = new SpeechVoice;
    m_voice->moveToThread(m_thread);
    connect(m_voice, &SpeechVoice::found, this, &QtSpeech::found, Qt::QueuedConnection);
    m_thread->start();
    QMetaObject::invokeMethod(m_voice, &SpeechVoice::start, Qt::QueuedConnection);
}

void QtSpeech::found(bool available, const QString& reason)
{
    m_known = true;
    m_available = available;
    m_reason = reason;
    for (const auto& known : std::exchange(m_waiting, {}))
        known();
}

void QtSpeech::say(const QString& text)
{
    if (m_available)
        QMetaObject::invokeMethod(
            m_voice, [voice = m_voice, text] { voice->say(text); }, Qt::QueuedConnection);
}
