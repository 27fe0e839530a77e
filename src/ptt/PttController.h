#pragma once

#include <QString>

struct AppContext;

// Push-to-talk of the transmitter on the RTS line of the serial port.
class PttController
{
public:
    explicit PttController(AppContext& ctx);

    void Command15Click(); // key down, when CK is ticked
    void Command16Click(); // key up, when CK is ticked and the port is open
    void Text15Changed();  // port number 1 to 9
    // The program is ending: the line goes down and the port is closed whatever CK says, so that no transmitter
    // stays on the air.
    void releaseForExit();

private:
    // Reports a port that cannot key the transmitter, without stopping the playback; the same report is not
    // repeated until a key-down succeeds or the port number changes (typed characters key down one by one).
    void warn(const QString& text);
    // Text15's tooltip names the device that the port number reaches.
    void updateTooltip();

    AppContext& m_ctx;
    QString m_lastWarning;
    bool m_tooltipStale = true;
};
