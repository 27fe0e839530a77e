#pragma once

#include "signs/SignTable.h"
#include "timing/Timing.h"

#include <QStringList>

// What keeps these settings from giving any sound, in French and for the user, most useful first: a character of
// the reference word that the sign table lacks (with what in the sign file's form explains it), a speed and spacing
// that give no dot length, a dot length that is not positive, gaps that give no runs. Empty when they give a sound.
// `dotText` is the dot length as TP holds it (when it is a positive number, the speed is not looked at); `supl` the
// extra thinking time in dots.
QStringList SoundProblems(const SignTable& signs, const QStringList& signFormHints, const TimingFields& fields,
                          const QString& dotText, double supl);
