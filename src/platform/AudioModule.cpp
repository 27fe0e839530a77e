#include "platform/AudioModule.h"

#include "platform/MediaPlayer.h"
#include "platform/Sidetone.h"

#include <QDir>
#include <QFileInfo>

AudioModule::AudioModule(QStringList places, Tell tell) : m_places(std::move(places)), m_tell(std::move(tell)) {}

QStringList AudioModule::Places(const QString& executableFolder)
{
    const QString file = QStringLiteral(TONIQUE_AUDIO_MODULE);
    const QDir folder(executableFolder);
    return {folder.filePath(file), QDir::cleanPath(folder.filePath(QStringLiteral(TONIQUE_MODULES_FROM_BIN)) + u'/' + file),
            QStringLiteral(TONIQUE_MODULES_INSTALLED) + u'/' + file};
}

Failure AudioModule::load()
{
    if (m_tried)
        return m_failure;
    m_tried = true;
    const auto found = std::find_if(m_places.cbegin(), m_places.cend(), [](const QString& p) { return QFileInfo::exists(p); });
    if (found == m_places.cend()) {
        m_failure = QStringLiteral("Le module de son «\u202F%1\u202F» est introuvable\u202F: aucun son ne peut "
                                   "être joué.")
                        .arg(m_places.isEmpty() ? QString() : QDir::toNativeSeparators(m_places.constLast()));
    } else {
        m_library.setFileName(*found);
        m_player = reinterpret_cast<MediaPlayer* (*)()>(m_library.resolve("tonique_audio_player"));
        m_sidetone = reinterpret_cast<Sidetone* (*)()>(m_library.resolve("tonique_audio_sidetone"));
        if (!m_player || !m_sidetone)
            m_failure = QStringLiteral("Le module de son «\u202F%1\u202F» ne se charge pas (%2)\u202F: aucun son "
                                       "ne peut être joué.")
                            .arg(QDir::toNativeSeparators(*found), m_library.errorString());
    }
    if (m_failure && m_tell)
        m_tell(*m_failure);
    return m_failure;
}

Result<std::unique_ptr<MediaPlayer>> AudioModule::makePlayer()
{
    if (const Failure failed = load())
        return Fail(*failed);
    return std::unique_ptr<MediaPlayer>(m_player());
}

Result<std::unique_ptr<Sidetone>> AudioModule::makeSidetone()
{
    if (const Failure failed = load())
        return Fail(*failed);
    return std::unique_ptr<Sidetone>(m_sidetone());
}
