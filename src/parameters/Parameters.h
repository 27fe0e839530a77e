#pragma once

#include <QString>

#include <array>

// The parameters kept in the settings store (organization and application "tonique", section "param").
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

// Below this stored frequency the tone starts at 800 Hz instead.
inline constexpr double LowestStoredTone = 300;
inline constexpr int ToneMin = 300, ToneMax = 2000, VolumeMin = 1, VolumeMax = 127;

} // namespace Parameters
