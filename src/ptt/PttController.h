#pragma once

#include "playback/PlaybackEvents.h"

#include <QString>

class MessageBox;
class QCheckBox;
class QLineEdit;
class SerialPort;

// Push-to-talk of the transmitter on the RTS line of the serial port: keyed when the user starts a playback or a
// typed character is played, released when any playback ends, provided CK is ticked.
class PttController : public PlaybackListener
{
public:
    PttController(QCheckBox* CK, QLineEdit* Text15, SerialPort& port, MessageBox& messages);

    void keyTransmitter();     // Command15, "tx"
    void releaseTransmitter(); // Command16, "rx"
    void Text15Changed();      // port number 1 to 9
    // The program is ending: the line goes down and the port is closed whatever CK says, so that no transmitter
    // stays on the air.
    void releaseForExit();

    void playbackStarted(PlaybackStart start) override;
    void playbackEnded(PlaybackEnd reason) override;

private:
    // Reports a port that cannot key the transmitter, without stopping the playback; the same report is not
    // repeated until a key-down succeeds or the port number changes (typed characters key down one by one).
    void warn(const QString& text);
    // Text15's tooltip names the device that the port number reaches.
    void updateTooltip();

    QCheckBox* m_CK;
    QLineEdit* m_Text15;
    SerialPort& m_port;
    MessageBox& m_messages;
    QString m_lastWarning;
    bool m_tooltipStale = true;
};
