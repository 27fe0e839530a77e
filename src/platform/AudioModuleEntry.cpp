// The entry points of the sound module, looked up by name when the program loads it (platform/AudioModule.cpp).

#include "platform/AudioSinkPlayer.h"
#include "platform/QtSidetone.h"

extern "C" Q_DECL_EXPORT MediaPlayer* tonique_audio_player()
{
    return new AudioSinkPlayer;
}

extern "C" Q_DECL_EXPORT Sidetone* tonique_audio_sidetone()
{
    return new QtSidetone;
}
