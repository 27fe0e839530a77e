#include "platform/QtSerialPort.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>
#include <tuple>

namespace {

struct DeviceKey
{
    int family;    // 0 ttyS, 1 ttyUSB, 2 ttyACM, 3 any other
    QString stem;  // the name without its trailing number
    qint64 number; // the trailing number, -1 when there is none
    QString path;
};

DeviceKey keyOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    qsizetype digits = name.size();
    while (digits > 0 && name[digits - 1].isDigit())
        --digits;
    DeviceKey key{3, name.left(digits), -1, path};
    if (digits < name.size())
        key.number = name.mid(digits).left(18).toLongLong();
    if (key.stem == u"ttyS")
        key.family = 0;
    else if (key.stem == u"ttyUSB")
        key.family = 1;
    else if (key.stem == u"ttyACM")
        key.family = 2;
    return key;
}

} // namespace

QtSerialPort::~QtSerialPort()
{
    if (m_port.isOpen()) {
        m_port.setRequestToSend(false);
        m_port.close();
    }
}

QString QtSerialPort::deviceForNumber(int number, const QStringList& systemLocations)
{
    std::vector<DeviceKey> keys;
    for (const QString& path : systemLocations) {
        if (!QFileInfo(path).fileName().startsWith(u"tty."))
            keys.push_back(keyOf(path));
    }
    std::sort(keys.begin(), keys.end(), [](const DeviceKey& a, const DeviceKey& b) {
        return std::tie(a.family, a.stem, a.number, a.path) < std::tie(b.family, b.stem, b.number, b.path);
    });
    if (number < 1 || static_cast<size_t>(number) > keys.size())
        return {};
    return keys[static_cast<size_t>(number - 1)].path;
}

QString QtSerialPort::deviceName(int number) const
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    QStringList locations;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        locations << info.systemLocation();
    return deviceForNumber(number, locations);
#endif
}

Failure QtSerialPort::open()
{
    if (m_port.isOpen())
        return QStringLiteral("le port est déjà ouvert");
    const QString device = deviceName(m_number);
    if (device.isEmpty())
        return QStringLiteral("aucun port série ne correspond à ce numéro sur ce système");
    m_port.setPortName(device);
    if (!m_port.open(QIODevice::ReadWrite))
        return describeError();
    return {};
}

void QtSerialPort::close()
{
    if (m_port.isOpen())
        m_port.close();
}

Failure QtSerialPort::setRequestToSend(bool raised)
{
    if (!m_port.isOpen())
        return QStringLiteral("le port n'est pas ouvert");
    if (!m_port.setRequestToSend(raised))
        return describeError();
    return {};
}

QString QtSerialPort::describeError() const
{
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("le périphérique n'existe pas");
    case QSerialPort::PermissionError:
        return QStringLiteral("accès refusé (port occupé par un autre programme, ou droits insuffisants)");
    case QSerialPort::OpenError:
        return QStringLiteral("le port est déjà ouvert");
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("le port ne permet pas de piloter la ligne RTS");
    case QSerialPort::ResourceError:
        return QStringLiteral("le périphérique a été retiré ou ne répond plus");
    case QSerialPort::NotOpenError:
        return QStringLiteral("le port n'est pas ouvert");
    default:
        return QStringLiteral("erreur du port série (%1)").arg(m_port.errorString());
    }
}
