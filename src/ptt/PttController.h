#pragma once

struct AppContext;

// Push-to-talk of the transmitter on the RTS line of the serial port.
class PttController
{
public:
    explicit PttController(AppContext& ctx);

    void Command15Click(); // key down, when CK is ticked
    void Command16Click(); // key up, when CK is ticked and the port is open
    void Text15Changed();  // port number 1 to 9

private:
    AppContext& m_ctx;
};
