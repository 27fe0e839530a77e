#include "ptt/PttController.h"

#include "platform/MessageBox.h"
#include "platform/SerialPort.h"
#include "ptt/PortNumber.h"

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>

#include <functional>

namespace {

QString describePort(const SerialPort& port)
{
    const QString device = port.deviceName(port.portNumber());
    return device.isEmpty() ? QString::number(port.portNumber())
                            : QStringLiteral("%1 (%2)").arg(port.portNumber()).arg(device);
}

} // namespace

namespace {

// Runs `refresh` just before the watched control shows its tooltip.
class TooltipRefresher : public QObject
{
public:
    TooltipRefresher(QObject* parent, std::function<void()> refresh) : QObject(parent), m_refresh(std::move(refresh)) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip)
            m_refresh();
        return false;
    }

private:
    std::function<void()> m_refresh;
};

} // namespace

PttController::PttController(QCheckBox* CK, QLineEdit* Text15, SerialPort& port, MessageBox& messages)
    : m_CK(CK), m_Text15(Text15), m_port(port), m_messages(messages)
{
    QLineEdit* field = m_Text15;
    field->installEventFilter(new TooltipRefresher(field, [this] {
        if (m_tooltipStale)
            updateTooltip();
    }));
}

void PttController::keyTransmitter()
{
    SerialPort* port = &m_port;
    if (!m_CK->isChecked())
        return;
    // Already keyed (a key-down while the line is up, or CK unticked and ticked again meanwhile): RTS only.
    if (!port->isOpen()) {
        if (const Failure failed = port->open()) {
            warn(QStringLiteral(
                     "PTT non activé\u202F: impossible d'ouvrir le port série %1\u202F: %2\nL'exercice est joué "
                     "sans passer en émission.")
                     .arg(describePort(*port), *failed));
            updateTooltip();
            return;
        }
    }
    if (const Failure failed = port->setRequestToSend(true)) {
        port->close(); // the port is held only while the transmitter is keyed
        warn(QStringLiteral(
                 "PTT non activé\u202F: le port série %1 refuse de lever la ligne RTS\u202F: %2\nL'exercice est "
                 "joué sans passer en émission.")
                 .arg(describePort(*port), *failed));
        return;
    }
    m_lastWarning.clear();
}

void PttController::releaseTransmitter()
{
    SerialPort* port = &m_port;
    // Unticked while keyed: the transmitter stays keyed until a key-up with CK ticked.
    if (!port->isOpen() || !m_CK->isChecked())
        return;
    port->setRequestToSend(false);
    port->close();
}

void PttController::releaseForExit()
{
    SerialPort* port = &m_port;
    if (!port->isOpen())
        return;
    port->setRequestToSend(false);
    port->close();
}

void PttController::Text15Changed()
{
    SerialPort* port = &m_port;
    // Outside 1 to 9 the previous number stays. A port already open keeps its device until its key-up.
    if (const std::optional<int> number = PortNumberFromText(m_Text15->text())) {
        if (*number != port->portNumber())
            m_lastWarning.clear();
        port->setPortNumber(*number);
    }
    // Listing the system's serial devices takes tens of ms: the tooltip is written when it is about to show.
    m_tooltipStale = true;
}

void PttController::playbackStarted(PlaybackStart start)
{
    if (start == PlaybackStart::PlayButton || start == PlaybackStart::TypedCharacter)
        keyTransmitter();
}

void PttController::playbackEnded(PlaybackEnd)
{
    releaseTransmitter();
}

void PttController::warn(const QString& text)
{
    if (text == m_lastWarning)
        return;
    m_lastWarning = text;
    m_messages.warningLater(text);
}

void PttController::updateTooltip()
{
    m_tooltipStale = false;
    const SerialPort& port = m_port;
    const int number = port.portNumber();
    const QString device = port.deviceName(number);
    const QString reach = device.isEmpty()
                              ? QStringLiteral("aucun port série ne répond au numéro %1 sur ce système").arg(number)
                              : QStringLiteral("le port %1 est %2").arg(number).arg(device);
    m_Text15->setToolTip(QStringLiteral("Numéro du port série à activer (1 à 9) — ") + reach);
}
