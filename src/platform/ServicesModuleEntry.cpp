// The entry points of the services module, looked up by name when the program loads it (platform/ServicesModule.cpp).

#include "platform/AudioSinkPlayer.h"
#include "platform/QtPrinter.h"
#include "platform/QtSerialPort.h"
#include "platform/QtSidetone.h"
#include "platform/QtSpeech.h"

extern "C" Q_DECL_EXPORT MediaPlayer* tonique_make_player()
{
    return new AudioSinkPlayer;
}

extern "C" Q_DECL_EXPORT Sidetone* tonique_make_sidetone()
{
    return new QtSidetone;
}

extern "C" Q_DECL_EXPORT SerialPort* tonique_make_serial_port()
{
    return new QtSerialPort;
}

extern "C" Q_DECL_EXPORT Printer* tonique_make_printer()
{
    return new QtPrinter;
}

extern "C" Q_DECL_EXPORT Speech* tonique_make_speech()
{
    return new QtSpeech;
}
