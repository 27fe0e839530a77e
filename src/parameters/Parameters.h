#pragma once

#include "common/Result.h"

#include <QString>

class SettingsStore;

// The user's working parameters, kept as texts in the settings store (organization and application "tonique",
// section "param"), one key each. The window's start-up and tonique-wav read them through the same rules.
namespace Parameters {

inline constexpr char16_t Organization[] = u"tonique";
inline constexpr char16_t Application[] = u"tonique";
inline constexpr char16_t Section[] = u"param";

struct Key
{
    const char16_t* name;
    const char16_t* defaultValue; // when the key is absent
    const char16_t* examValue;    // set by R.A.Z.; nullptr: left alone
};

inline constexpr Key paris{u"paris", u"PARIS", u"PARIS"};
inline constexpr Key espa{u"espa", u"1", u"1"};
inline constexpr Key espb{u"espb", u"3", u"3"};
inline constexpr Key espc{u"espc", u"9", u"9"};
inline constexpr Key tp{u"tp", u"3", u"3"}; // the dash length in dots, not the dot length TP
inline constexpr Key mn{u"mn", u"12", u"12"};
inline constexpr Key prog{u"prog", u"0123456789abcdefghijklmnopqrstuvwxyz.,?/+'<*",
                          u"0123456789abcdefghijklmnopqrstuvwxyz.,?/+'<*"};
inline constexpr Key com{u"com", u"1", nullptr};
inline constexpr Key ponctu{u"ponctu", u".,?/+'<*", u".,?/+'<*"};
inline constexpr Key deb{u"deb", u"VVV", u"VVV"};
inline constexpr Key fin{u"fin", u"+", u"+"};
inline constexpr Key supl{u"supl", u"0", u"0"};
inline constexpr Key tona{u"tona", u"800", u"900"};
inline constexpr Key vol{u"vol", u"64", u"64"};

inline QString name(const Key& k)
{
    return QString::fromUtf16(k.name);
}
inline QString defaultValue(const Key& k)
{
    return QString::fromUtf16(k.defaultValue);
}
inline QString examValue(const Key& k)
{
    return QString::fromUtf16(k.examValue);
}

// The ranges of the frequency and volume scroll bars, and the tone a stored frequency below 300 Hz gives.
inline constexpr int ToneMin = 300, ToneMax = 2000, VolumeMin = 1, VolumeMax = 127;
inline constexpr int ToneBelowRange = 800;
// What R.A.Z. puts into the scroll bars.
inline constexpr int ExamTone = 900, ExamVolume = 64;

// The stored text of `key`, or its default when the store does not hold it.
QString Stored(const SettingsStore& store, const Key& key);

// The frequency as start-up takes a stored text: 800 Hz when its leading number is below 300 (a text that is not a
// number included); otherwise the whole text must be a number, rounded to a whole one (a half to the even
// neighbour) within 300 to 2000. Fails with the French message that names the key and the text.
Result<int> ToneFromStored(const QString& text);
// The volume the same way, 1 to 127, with no replacement rule.
Result<int> VolumeFromStored(const QString& text);

} // namespace Parameters
