#include "marking/MarkingReport.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString counted(qsizetype count, const QString& singular, const QString& plural)
{
    return QString::number(count) + u' ' + (count < 2 ? singular : plural);
}

QString shown(const QString& character)
{
    return character.toUpper().toHtmlEscaped();
}

QString span(const QString& text, const QString& colour, const QString& decoration)
{
    return u"<span style=\"color:"_s + colour + u"; text-decoration:"_s + decoration + u"; font-weight:bold\">"_s +
           text + u"</span>"_s;
}

// The two lines of one group: the sent characters over the copied ones, a column each.
void appendGroup(const MarkedGroup& group, const MarkColours& colours, QString& sentLine, QString& copyLine)
{
    for (const MarkedCharacter& c : group) {
        switch (c.mark) {
        case Mark::Right:
            sentLine += shown(c.sent);
            copyLine += shown(c.copied);
            break;
        case Mark::Wrong:
            sentLine += shown(c.sent);
            copyLine += span(shown(c.copied), colours.wrong, u"underline"_s);
            break;
        case Mark::Missing:
            sentLine += shown(c.sent);
            copyLine += span(u"_"_s, colours.missing, u"none"_s);
            break;
        case Mark::Extra:
            sentLine += u' ';
            copyLine += span(shown(c.copied), colours.extra, u"line-through"_s);
            break;
        }
    }
}

QString csvField(const QString& text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(u"\""_s, u"\"\""_s) + u'"';
}

QString tenthsText(qint64 tenths)
{
    return QString::number(tenths / 10) + u',' + QString::number(tenths % 10);
}

QString decimalComma(double value)
{
    return QString::number(value, 'g', 15).replace(u'.', u',');
}

} // namespace

QString ErrorsText(qsizetype errors, qsizetype characters)
{
    return counted(errors, u"erreur"_s, u"erreurs"_s) + u" sur "_s +
           counted(characters, u"caractère"_s, u"caractères"_s);
}

QString AccuracyText(int tenths)
{
    return tenthsText(tenths) + u"\u202F%"_s;
}

QString VerdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Received:
        return u"Reçu"_s;
    case Verdict::Refused:
        return u"Refusé"_s;
    case Verdict::Nothing:
        break;
    }
    return u"Rien à corriger"_s;
}

QString SummaryText(const MarkedCopy& marked)
{
    if (marked.verdict == Verdict::Nothing)
        return VerdictText(marked.verdict);
    return ErrorsText(marked.errors, marked.characters) + u" ("_s + AccuracyText(marked.accuracyTenths) + u") — "_s +
           VerdictText(marked.verdict);
}

QString FieldText(const MarkedField& field)
{
    const QString head = FieldKindName(field.kind) + u"\u202F: "_s + field.sent;
    if (field.right)
        return head + u" juste"_s;
    if (field.copied.isEmpty())
        return head + u" manqué"_s;
    return head + u" copié «\u202F"_s + field.copied + u"\u202F»"_s;
}

QString PartText(const MarkedPart& part)
{
    MarkedCopy counted;
    counted.characters = part.characters;
    counted.errors = part.errors;
    counted.accuracyTenths = part.accuracyTenths;
    counted.verdict = part.verdict;
    return part.label + u"\u202F: "_s + SummaryText(counted);
}

QString PassMarkText(const MarkedCopy& marked)
{
    return u"Erreurs admises\u202F: "_s + FormatPassMark(marked.pass) + u"\u202F%, soit "_s +
           counted(marked.allowed, u"erreur"_s, u"erreurs"_s);
}

QString ConfusionText(const Confusion& confusion)
{
    const QString times = u"\u202F: "_s + QString::number(confusion.count) + u" fois"_s;
    switch (confusion.mark) {
    case Mark::Wrong:
        return confusion.sent.toUpper() + u" reçu comme "_s + confusion.copied.toUpper() + times;
    case Mark::Missing:
        return confusion.sent.toUpper() + u" manqué"_s + times;
    case Mark::Extra:
    case Mark::Right:
        break;
    }
    return confusion.copied.toUpper() + u" en trop"_s + times;
}

QString MarkedGroupsHtml(const MarkedCopy& marked, const MarkColours& colours)
{
    constexpr int GroupsPerLine = 6;
    QString html = u"<pre style=\"font-family:'Courier New',monospace\">"_s;
    for (qsizetype first = 0; first < marked.groups.size(); first += GroupsPerLine) {
        QString sentLine, copyLine;
        for (qsizetype g = first; g < std::min(first + GroupsPerLine, marked.groups.size()); ++g) {
            if (g > first) {
                sentLine += u"  "_s;
                copyLine += u"  "_s;
            }
            appendGroup(marked.groups[g], colours, sentLine, copyLine);
        }
        html += sentLine + u'\n' + copyLine + u"\n\n"_s;
    }
    return html + u"</pre>"_s;
}

QString LegendHtml(const MarkColours& colours)
{
    return span(u"X"_s, colours.wrong, u"underline"_s) + u" souligné\u202F: caractère faux &nbsp; "_s +
           span(u"_"_s, colours.missing, u"none"_s) + u"\u202F: caractère manquant &nbsp; "_s +
           span(u"X"_s, colours.extra, u"line-through"_s) + u" barré\u202F: caractère en trop"_s;
}

QString MarkCsvHeader()
{
    return u"copie;caractères;erreurs;exactitude;verdict"_s;
}

QString MarkCsvLine(const QString& name, const MarkedCopy& marked)
{
    const QString accuracy = marked.verdict == Verdict::Nothing ? QString() : tenthsText(marked.accuracyTenths);
    return csvField(name) + u';' + QString::number(marked.characters) + u';' + QString::number(marked.errors) + u';' +
           accuracy + u';' + VerdictText(marked.verdict);
}

QByteArray HistoryCsv(const QList<CopyRecord>& copies, const QList<DrillAnswerRecord>& answers)
{
    struct Line
    {
        QDateTime at;
        QString text;
    };
    QList<Line> lines;
    lines.reserve(copies.size() + answers.size());
    auto date = [](const QDateTime& at) { return at.toLocalTime().toString(u"yyyy-MM-dd HH:mm:ss"_s); };
    for (const CopyRecord& c : copies) {
        lines.append({c.at, date(c.at) + u";copie;"_s + QString::number(c.characters) + u';' +
                                QString::number(c.errors) + u';' + tenthsText(AccuracyTenths(c.characters, c.errors)) +
                                u';' + decimalComma(c.wpm) + u';' + FormatPassMark(c.pass) + u';' +
                                (c.received ? u"Reçu"_s : u"Refusé"_s) + u";;"_s});
    }
    for (const DrillAnswerRecord& a : answers)
        lines.append({a.at, date(a.at) + u";clavier;;;;;;;"_s + csvField(a.character) + u';' + QString::number(a.ms)});
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.at < b.at; });

    QString text = u"date;activité;caractères;erreurs;exactitude;vitesse;admis;verdict;caractère;réaction_ms\r\n"_s;
    for (const Line& line : lines)
        text += line.text + u"\r\n"_s;
    return "\xEF\xBB\xBF" + text.toUtf8();
}

QByteArray SendingRunsCsv(const QList<SendingRunRecord>& runs)
{
    if (runs.isEmpty())
        return {};
    static const QString kinds[] = {u"libre"_s, u"exercice"_s, u"écho"_s};
    QString text = u"\r\ndate;envoi;caractères;erreurs;exactitude;vitesse;trait_point;espace_éléments;"
                   "espace_lettres;espace_mots;poids;dispersion_points;dispersion_traits;dispersion_éléments;"
                   "dispersion_lettres;dispersion_mots;mal_manipulés\r\n"_s;
    for (const SendingRunRecord& r : runs) {
        QStringList fields{r.at.toLocalTime().toString(u"yyyy-MM-dd HH:mm:ss"_s), kinds[int(r.kind)],
                           QString::number(r.characters), QString::number(r.errors),
                           r.kind == SendingKind::Free ? QString()
                                                       : tenthsText(AccuracyTenths(r.characters, r.errors))};
        // A proportion the run could not measure (0) is left empty.
        for (const double value :
             {r.wpm, r.dashDotRatio, r.elementGapRatio, r.letterGapRatio, r.wordGapRatio, r.weightPercent})
            fields << (value > 0 ? QString::number(value, 'f', 2).replace(u'.', u',') : QString());
        for (const double spread : r.spreads)
            fields << QString::number(spread, 'f', 2).replace(u'.', u',');
        QStringList missent;
        for (const MissentCharacter& m : r.missent)
            missent << m.character + u"×"_s + QString::number(m.count);
        fields << csvField(missent.join(u' '));
        text += fields.join(u';') + u"\r\n"_s;
    }
    return text.toUtf8();
}
