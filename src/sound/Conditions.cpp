#include "sound/Conditions.h"

#include "common/Excerpt.h"
#include "common/Numbers.h"
#include "platform/SettingsStore.h"

#include <QStringList>

#include <cmath>

namespace Conditions {

namespace {

// A number as typed: optional sign, digits with "." as decimal point (the comma separates values), nothing else.
std::optional<double> number(const QString& text)
{
    const auto typed = ReadTypedNumber(text);
    return typed && std::isfinite(typed->value) ? std::optional<double>(typed->value) : std::nullopt;
}

// A value for the user to read: a true minus sign before a negative one.
QString shown(double value, const QLocale& locale = QLocale::system())
{
    return FormatNumber(value, locale).replace(u'-', u'\u2212');
}

// "profondeur de 0 à 100 %, période de 1 à 30 s"
QString expected(const Condition& condition)
{
    QStringList parts;
    for (int i = 0; i < condition.valueCount; ++i) {
        const Value& v = condition.values[size_t(i)];
        parts << QString::fromUtf16(v.name) + u" de " + shown(v.min, QLocale::c()) + u" à " +
                     shown(v.max, QLocale::c()) + u'\u202F' + QString::fromUtf16(v.unit);
    }
    return parts.join(u", ");
}

QString activeKey(const Condition& condition)
{
    return QString::fromUtf16(condition.key) + u"_actif";
}

} // namespace

Failure SetFromText(const Condition& condition, const QString& text, const QString& where, ReceptionConditions& to)
{
    if (text.trimmed() == u"non") {
        to.*condition.on = false;
        return {};
    }
    const QStringList parts = text.split(u',');
    if (parts.size() != condition.valueCount)
        return where +
               (condition.valueCount == 1 ? QStringLiteral(" attend une valeur")
                                          : QStringLiteral(" attend deux valeurs séparées par une virgule")) +
               u" (" + expected(condition) + u") ou «\u202Fnon\u202F», pas «\u202F" + Excerpt(text) + u"\u202F».";
    ReceptionConditions values = to;
    for (int i = 0; i < condition.valueCount; ++i) {
        const Value& v = condition.values[size_t(i)];
        const auto read = number(parts[i]);
        if (!read)
            return u"Valeur non numérique pour " + where + u"\u202F: «\u202F" + Excerpt(text) + u"\u202F».";
        if (*read < v.min || *read > v.max)
            return u"Valeur hors plage pour " + where + u"\u202F: «\u202F" + Excerpt(text) +
                   u"\u202F» (attendu\u202F: " + expected(condition) + u").";
        values.*v.field = *read;
    }
    to = values;
    to.*condition.on = true;
    return {};
}

QString ValuesText(const Condition& condition, const ReceptionConditions& from)
{
    QStringList parts;
    for (int i = 0; i < condition.valueCount; ++i)
        parts << FormatNumber(from.*condition.values[size_t(i)].field, QLocale::c());
    return parts.join(u',');
}

Result<ReceptionConditions> Stored(const SettingsStore& store)
{
    ReceptionConditions conditions;
    for (const Condition& condition : All) {
        const QString key = QString::fromUtf16(condition.key);
        const bool on = store.read(activeKey(condition), QStringLiteral("0")).trimmed() == u"1";
        const QString text = store.read(key, ValuesText(condition, conditions));
        ReceptionConditions read = conditions;
        const Failure failed =
            SetFromText(condition, text, u"la condition enregistrée «\u202F" + key + u"\u202F»", read);
        if (failed && on)
            return Fail(*failed + u"\nCorrigez-la dans la fenêtre «\u202FConditions de réception\u202F».");
        // "non" keeps the default values and leaves the condition off, whatever its tick says.
        const bool refused = text.trimmed() == u"non";
        if (!failed && !refused)
            conditions = read;
        conditions.*condition.on = on && !failed && !refused;
    }
    return conditions;
}

void Store(SettingsStore& store, const ReceptionConditions& conditions)
{
    for (const Condition& condition : All) {
        store.write(QString::fromUtf16(condition.key), ValuesText(condition, conditions));
        store.write(activeKey(condition), conditions.*condition.on ? QStringLiteral("1") : QStringLiteral("0"));
    }
}

QString Summary(const ReceptionConditions& conditions)
{
    QStringList parts;
    for (const Condition& condition : All) {
        if (!(conditions.*condition.on))
            continue;
        QString part = QString::fromUtf16(condition.caption);
        for (int i = 0; i < condition.valueCount; ++i) {
            const Value& v = condition.values[size_t(i)];
            part += u' ' + shown(conditions.*v.field) + u'\u202F' + QString::fromUtf16(v.unit);
        }
        parts << part;
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace Conditions
