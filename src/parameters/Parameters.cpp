#include "parameters/Parameters.h"

#include "common/Excerpt.h"
#include "common/Numbers.h"
#include "platform/SettingsStore.h"

namespace Parameters {

namespace {

// A stored number as a scroll bar takes it: the whole text must be a number, rounded half to even.
std::optional<int> wholeNumber(const QString& text)
{
    const auto number = ReadTypedNumber(text, {.decimalComma = true, .exponent = true});
    if (!number)
        return std::nullopt;
    const double value = RoundHalfEven(number->value);
    if (!(value >= -2147483648.0 && value <= 2147483647.0))
        return std::nullopt;
    return static_cast<int>(value);
}

FailureMessage unusable(const Key& key, const QString& text, const QString& what, int min, int max)
{
    return Fail(QStringLiteral("Le paramètre enregistré «\u202F%1\u202F» vaut «\u202F%2\u202F»\u202F: %3 n'accepte "
                               "qu'un nombre entier de %4 à %5.\n"
                               "Corrigez-le ou supprimez-le dans les réglages de Tonique, puis relancez le programme.")
                    .arg(name(key), Excerpt(text), what)
                    .arg(min)
                    .arg(max));
}

} // namespace

QString Stored(const SettingsStore& store, const Key& key)
{
    return store.read(name(key), defaultValue(key));
}

Result<int> ToneFromStored(const QString& text)
{
    if (LeadingNumber(text) < ToneMin)
        return ToneBelowRange;
    const auto tone = wholeNumber(text);
    if (!tone || *tone < ToneMin || *tone > ToneMax)
        return unusable(tona, text, QStringLiteral("la fréquence"), ToneMin, ToneMax);
    return *tone;
}

Result<int> VolumeFromStored(const QString& text)
{
    const auto volume = wholeNumber(text);
    if (!volume || *volume < VolumeMin || *volume > VolumeMax)
        return unusable(vol, text, QStringLiteral("le volume"), VolumeMin, VolumeMax);
    return *volume;
}

} // namespace Parameters
