#include "platform/ServicesModule.h"

#include "platform/MediaPlayer.h"
#include "platform/Printer.h"
#include "platform/SerialPort.h"
#include "platform/Sidetone.h"
#include "platform/Speech.h"

#include <QDir>
#include <QFileInfo>

ServicesModule::ServicesModule(QStringList places, Tell tell, QString consequence)
    : m_places(std::move(places)), m_tell(std::move(tell)),
      m_consequence(consequence.isEmpty() ? QStringLiteral("aucun son ne peut être joué, ni le port série commandé, ni "
                                                           "une image imprimée, ni une réponse dite à voix haute.")
                                          : std::move(consequence))
{}

QStringList ServicesModule::Places(const QString& executableFolder)
{
    return Places(executableFolder, QStringLiteral(TONIQUE_SERVICES_MODULE));
}

QStringList ServicesModule::Places(const QString& executableFolder, const QString& file)
{
    const QDir folder(executableFolder);
    return {folder.filePath(file),
            QDir::cleanPath(folder.filePath(QStringLiteral(TONIQUE_MODULES_FROM_BIN)) + u'/' + file),
            QStringLiteral(TONIQUE_MODULES_INSTALLED) + u'/' + file};
}

Failure ServicesModule::load()
{
    if (m_tried)
        return m_failure;
    m_tried = true;
    const auto found =
        std::find_if(m_places.cbegin(), m_places.cend(), [](const QString& p) { return QFileInfo::exists(p); });
    const QString& consequence = m_consequence;
    if (found == m_places.cend()) {
        m_failure =
            QStringLiteral("Le module «\u202F%1\u202F» est introuvable\u202F: %2")
                .arg(m_places.isEmpty() ? QString() : QDir::toNativeSeparators(m_places.constLast()), consequence);
    } else {
        m_library.setFileName(*found);
        if (!m_library.load())
            m_failure = QStringLiteral("Le module «\u202F%1\u202F» ne se charge pas (%2)\u202F: %3")
                            .arg(QDir::toNativeSeparators(*found), m_library.errorString(), consequence);
    }
    if (m_failure && m_tell)
        m_tell(*m_failure);
    return m_failure;
}

Result<QFunctionPointer> ServicesModule::resolve(const char* entry)
{
    if (const Failure failed = load())
        return Fail(*failed);
    if (QFunctionPointer function = m_library.resolve(entry))
        return function;
    return Fail(QStringLiteral("Le module «\u202F%1\u202F» n'a pas la fonction %2\u202F: il ne vient pas de "
                               "cette version de Tonique.")
                    .arg(QDir::toNativeSeparators(m_library.fileName()), QLatin1String(entry)));
}

Result<std::unique_ptr<MediaPlayer>> ServicesModule::makePlayer()
{
    return make<MediaPlayer>("tonique_make_player");
}

Result<std::unique_ptr<Sidetone>> ServicesModule::makeSidetone()
{
    return make<Sidetone>("tonique_make_sidetone");
}

Result<std::unique_ptr<SerialPort>> ServicesModule::makeSerialPort()
{
    return make<SerialPort>("tonique_make_serial_port");
}

Result<std::unique_ptr<Printer>> ServicesModule::makePrinter()
{
    return make<Printer>("tonique_make_printer");
}

Result<std::unique_ptr<Speech>> ServicesModule::makeSpeech()
{
    return make<Speech>("tonique_make_speech");
}
