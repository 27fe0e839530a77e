#pragma once

#include "marking/CopyMarking.h"
#include "marking/History.h"

#include <QByteArray>
#include <QString>

// The French texts of a marked copy.

// "3 erreurs sur 200 caractères" (the singular below 2).
QString ErrorsText(qsizetype errors, qsizetype characters);
// "97,5 %".
QString AccuracyText(int tenths);
// "Reçu", "Refusé", "Rien à corriger".
QString VerdictText(Verdict verdict);
// "3 erreurs sur 200 caractères (98,5 %) — Reçu", or "Rien à corriger" when nothing was sent.
QString SummaryText(const MarkedCopy& marked);
// "Erreurs admises : 5 %, soit 10 erreurs".
QString PassMarkText(const MarkedCopy& marked);
// "B reçu comme D : 3 fois", "H manqué : 2 fois", "X en trop : 1 fois".
QString ConfusionText(const Confusion& confusion);

// "QTH : LYON copié « LYOM »", "Prénom : JEAN manqué", "Report : 579 juste".
QString FieldText(const MarkedField& field);
// "Groupes : 2 erreurs sur 180 caractères (98,9 %) — Reçu".
QString PartText(const MarkedPart& part);

// The colours of the three kinds of error, as HTML colours.
struct MarkColours
{
    QString wrong, missing, extra;
};

// The sent groups over the copied ones in a fixed-width font, six groups a line. Each kind of error has its colour
// and a second sign that needs no colour: a wrong character is underlined, a missing one is "_", an extra one is
// struck through.
QString MarkedGroupsHtml(const MarkedCopy& marked, const MarkColours& colours);
// What the colours and signs mean.
QString LegendHtml(const MarkColours& colours);

// CSV: UTF-8, ";" between fields, a decimal comma.

// The header of tonique-mark's CSV output.
QString MarkCsvHeader();
// One copy: name, characters, errors, accuracy, verdict.
QString MarkCsvLine(const QString& name, const MarkedCopy& marked);
// The whole history, copies and drill answers by date, with a byte-order mark for spreadsheets.
QByteArray HistoryCsv(const QList<CopyRecord>& copies, const QList<DrillAnswerRecord>& answers);
// The sending runs, to follow the history's lines in the same file: after an empty line, a header of their own and
// a line each by date, the characters mis-sent as "e×2 t×1". Nothing when there is none, so that a history without
// runs exports as it always did.
QByteArray SendingRunsCsv(const QList<SendingRunRecord>& runs);
