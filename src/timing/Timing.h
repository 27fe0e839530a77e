#pragma once

#include "signs/SignTable.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

// The speed and spacing settings, as read from their fields (every number through LeadingNumber).
struct TimingFields
{
    QString referenceWord; // Text20
    double espa = 1;       // element gap, dots (Text21)
    double espb = 3;       // character gap, dots (Text22)
    double espc = 9;       // word gap, dots (Text23)
    double dash = 3;       // dash length, dots (Text24, key "tp")
    double wpm = 12;       // words per minute (Combo1)
};

struct DotLengthResult
{
    enum class Status
    {
        Ok,
        MissingCharacter, // a character of the reference word is not in the sign table: beep, keep TP
        NoDivisor,        // the minute holds no positive number of dots: keep TP
    };
    Status status = Status::Ok;
    double dotMs = 0;    // valid when Ok
    double wordDots = 0; // W, the reference word in dots without trailing gap
};

// The dot length in ms: 60000 / D with D = wpm * W + (wpm - 1) * espc - espa, W measured through the sign table.
DotLengthResult DotLengthOf(const TimingFields& fields, const SignTable& signs);

// The speed in words per minute that DotLengthOf would need, with the reference word and spacing of `fields` (their
// speed aside), to give a dot of `dotMs` ms: the speed heard when the dot length was typed rather than computed.
// Nothing when the word cannot be measured or no positive speed gives that dot.
std::optional<double> SpeedOfDotLength(double dotMs, const TimingFields& fields, const SignTable& signs);

// The dot length in ms that the runs are built from, read from the text of TP: its leading number, a decimal comma
// taken as the point (TP is written with the user's decimal separator).
double DotLengthFromText(QString text);

// The values of the extra-thinking-time list (Texte): -1 to -0.1, 0 to 0.9, 1 to 10, produced by the same
// floating counters as always (so their last digits are those of repeated addition), written with FormatNumber.
QStringList ThinkingTimeItems(const QLocale& locale = QLocale::system());
