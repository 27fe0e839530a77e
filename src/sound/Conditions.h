#pragma once

#include "common/Result.h"

#include <QString>

#include <array>

class SettingsStore;

// The band conditions a rendering can put on the clean signal, each off unless ticked, with its values kept while it
// is off.
struct ReceptionConditions
{
    bool noise = false;
    double snrDb = 10; // signal (while a tone sounds) over noise, white over the whole band
    bool fading = false;
    double fadingDepth = 60;  // %: the level runs between (1 - depth) and 1 of the clean one
    double fadingPeriodS = 8; // s
    bool qrm = false;
    double qrmOffsetHz = 250; // from the tone as heard
    double qrmLevelDb = -6;   // the second station's power over the main signal's, each while it sounds
    bool hand = false;
    double handPercent = 10; // the most an element or gap deviates from its clean length
    bool edges = false;
    double edgeMs = 5; // raised-cosine ramp at each start and end of a tone

    bool any() const { return noise || fading || qrm || hand || edges; }
};

namespace Conditions {

// The group of the settings store that holds them (beside the parameters' "param").
inline constexpr char16_t Section[] = u"conditions";

// One value of a condition, with its range.
struct Value
{
    double ReceptionConditions::*field;
    double min, max;
    const char16_t* name; // as the messages call it
    const char16_t* unit;
};

// One condition: its tick, its values, its name on the command line (after "--") and in the settings store, its
// caption in the window.
struct Condition
{
    const char16_t* key;
    const char16_t* caption;
    bool ReceptionConditions::*on;
    int valueCount;
    std::array<Value, 2> values;
};

inline constexpr std::array<Condition, 5> All{{
    {u"bruit",
     u"Bruit",
     &ReceptionConditions::noise,
     1,
     {{{&ReceptionConditions::snrDb, -10, 30, u"rapport signal/bruit", u"dB"}}}},
    {u"qsb",
     u"Fading (QSB)",
     &ReceptionConditions::fading,
     2,
     {{{&ReceptionConditions::fadingDepth, 0, 100, u"profondeur", u"%"},
       {&ReceptionConditions::fadingPeriodS, 1, 30, u"période", u"s"}}}},
    {u"qrm",
     u"Brouillage (QRM)",
     &ReceptionConditions::qrm,
     2,
     {{{&ReceptionConditions::qrmOffsetHz, -500, 500, u"décalage", u"Hz"},
       {&ReceptionConditions::qrmLevelDb, -20, 6, u"niveau", u"dB"}}}},
    {u"manuel",
     u"Manipulation manuelle",
     &ReceptionConditions::hand,
     1,
     {{{&ReceptionConditions::handPercent, 0, 30, u"écart", u"%"}}}},
    {u"fronts",
     u"Fronts adoucis",
     &ReceptionConditions::edges,
     1,
     {{{&ReceptionConditions::edgeMs, 1, 10, u"durée des fronts", u"ms"}}}},
}};

// Sets the values of `condition` from their text ("10", "60,8": a comma between two values, "." as decimal point)
// and ticks it, or unticks it for "non". The French message names `where` (an option, a stored key) when the text
// is not numbers or a value is out of range.
Failure SetFromText(const Condition& condition, const QString& text, const QString& where, ReceptionConditions& to);
// The values of `condition` as SetFromText reads them.
QString ValuesText(const Condition& condition, const ReceptionConditions& from);

// The conditions kept in `store` (its group is the conditions' own): for each key its values and "<key>_actif" = 1
// when ticked. A stored value that cannot be read fails when its condition is ticked and is replaced by its default
// otherwise.
Result<ReceptionConditions> Stored(const SettingsStore& store);
void Store(SettingsStore& store, const ReceptionConditions& conditions);

// The conditions that are on, for the user: "Bruit 10 dB, Fading (QSB) 60 % 8 s"; empty when none is.
QString Summary(const ReceptionConditions& conditions);

} // namespace Conditions
