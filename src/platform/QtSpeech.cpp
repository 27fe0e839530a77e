#include "platform/QtSpeech.h"

#include <QLocale>
#include <QTextToSpeech>

using namespace Qt::StringLiterals;

namespace {

constexpr auto Engine = "speechd";

} // namespace

QtSpeech::QtSpeech() = default;
QtSpeech::~QtSpeech() = default;

void QtSpeech::start() const
{
    if (m_started)
        return;
    m_started = true;
    if (!QTextToSpeech::availableEngines().contains(QLatin1StringView(Engine))) {
        m_reason = u"Aucun moteur de synthèse vocale n'est installé (paquets qt6-speech-speechd-plugin et "
                   u"speech-dispatcher-espeak-ng)."_s;
        return;
    }
    m_engine = std::make_unique<QTextToSpeech>(QString::fromLatin1(Engine));
    if (m_engine->state() == QTextToSpeech::Error) {
        m_reason = u"Le moteur de synthèse vocale ne répond pas (speech-dispatcher)."_s;
        m_engine.reset();
        return;
    }
    const QLocale french(QLocale::French, QLocale::France);
    if (!m_engine->availableLocales().contains(french)) {
        m_reason = u"Le moteur de synthèse vocale n'a pas de voix française (paquet speech-dispatcher-espeak-ng)."_s;
        m_engine.reset();
        return;
    }
    m_engine->setLocale(french);
}

bool QtSpeech::available() const
{
    start();
    return m_engine != nullptr;
}

QString QtSpeech::unavailableReason() const
{
    start();
    return m_reason;
}

void QtSpeech::say(const QString& text)
{
    if (!available())
        return;
    m_engine->stop();
    m_engine->say(text);
}
