// The key inputs' entry points in the services module, looked up by name when the window opens one of them
// (app/main.cpp, through platform/ServicesModule).

#include "inputs/MicrophoneKeyingSource.h"
#include "inputs/MidiKeyingSource.h"

extern "C" Q_DECL_EXPORT KeyingSource* tonique_make_microphone_input()
{
    return new MicrophoneKeyingSource;
}

extern "C" Q_DECL_EXPORT KeyingSource* tonique_make_midi_input()
{
    return new MidiKeyingSource;
}
