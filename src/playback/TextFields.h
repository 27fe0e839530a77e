#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What a piece of an exercise text says, so that a copy can be marked piece by piece: the information of a contact
// (call signs, report, name, town, power, equipment, weather), or one part of a longer exercise (the groups and the
// plain language of the full exam), marked with a verdict of its own.
enum class FieldKind
{
    CallSign,
    Report,
    Name,
    Qth,
    Power,
    Equipment,
    Weather,
    Part,
};

struct TextField
{
    FieldKind kind = FieldKind::Part;
    qsizetype start = 0; // in the text as it is sounded (without its outer spaces)
    qsizetype length = 0;
    QString label; // a part's name ("Groupes", "Texte en clair"); empty for the information of a contact
    bool operator==(const TextField&) const = default;
};

using TextFields = QList<TextField>;

// A text made by a generator, with the pieces it is made of; `leftOut` names, in French, the pieces a generator had
// to leave out (none could be written with the characters allowed).
struct GeneratedText
{
    QString text;
    TextFields fields;
    QStringList leftOut;
};

// The kind's name as the learner reads it: "Indicatif", "Report", "Prénom", "QTH", "Puissance", "Équipement",
// "Météo", "Partie".
inline QString FieldKindName(FieldKind kind)
{
    switch (kind) {
    case FieldKind::CallSign:
        return QStringLiteral("Indicatif");
    case FieldKind::Report:
        return QStringLiteral("Report");
    case FieldKind::Name:
        return QStringLiteral("Prénom");
    case FieldKind::Qth:
        return QStringLiteral("QTH");
    case FieldKind::Power:
        return QStringLiteral("Puissance");
    case FieldKind::Equipment:
        return QStringLiteral("Équipement");
    case FieldKind::Weather:
        return QStringLiteral("Météo");
    case FieldKind::Part:
        return QStringLiteral("Partie");
    }
    return {};
}
