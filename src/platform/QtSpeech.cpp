#include "platform/QtSpeech.h"

#include <QLocale>
#include <QTextToSpeech>
#include <QThread>

#include <memory>

using namespace Qt::StringLiterals;

// The voice itself, in the speech thread.
class SpeechVoice : public QObject
{
    Q_OBJECT

public:
    void start()
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
            emit found(
                false,
                u"Le moteur de synthèse vocale n'a pas de voix française (paquet speech-dispatcher-espeak-ng)."_s);
        } else {
            m_engine->setLocale(french);
            emit found(true, QString());
        }
    }
    void say(const QString& text)
    {
        if (!m_engine)
            return;
        m_engine->stop();
        m_engine->say(text);
    }
    void stop() { m_engine.reset(); }

signals:
    void found(bool available, const QString& reason);

private:
    std::unique_ptr<QTextToSpeech> m_engine;
};

QtSpeech::QtSpeech()
{
    m_reason = u"Recherche d'une voix française\u2026"_s;
}

QtSpeech::~QtSpeech()
{
    if (!m_thread)
        return;
    QMetaObject::invokeMethod(m_voice, &SpeechVoice::stop, Qt::QueuedConnection);
    connect(m_thread, &QThread::finished, m_voice, &QObject::deleteLater);
    m_thread->quit();
    // A server that never answered keeps its thread: it is left to end with the program rather than wait for it.
    if (m_thread->wait(1000))
        delete m_thread;
}

void QtSpeech::find(std::function<void()> known)
{
    if (m_known) {
        known();
        return;
    }
    m_waiting.push_back(std::move(known));
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

#include "QtSpeech.moc"
