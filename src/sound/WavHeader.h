#pragma once

#include "common/WavFormat.h"

#include <QByteArray>
#include <QtGlobal>

// The 58-byte RIFF WAVE header of the exercise file (WavFormat): the size fields hold zeros until the header is
// patched with the finished file's length.

// The header template, its size fields zero.
QByteArray MakeWavHeader();

// Fills the RIFF size (L - 8), the sample frame count ((L - 58) / 2) and the data size (L - 58) for a file of
// `fileLength` bytes, header included. Each field is 32 bits: see WavLengthFits.
void PatchWavHeader(QByteArray& header, quint64 fileLength);

// Whether a file of `fileLength` bytes can be described by the header's 32-bit size fields.
bool WavLengthFits(quint64 fileLength);
