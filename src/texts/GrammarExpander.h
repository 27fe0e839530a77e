#pragma once

#include "playback/TextFields.h"
#include "texts/TextData.h"

#include <QHash>
#include <QString>

#include <optional>

class RandomSource;

// Draws a text from a grammar: one alternative of each rule met, by weight, the variables once (a variable of a kind
// differs from the others of its kind when a redraw allows). With `allowed`, the alternatives and list items written
// with those characters (and spaces) are drawn; when no alternative fits, one is taken with the words that cannot be
// written left out and named in `leftOut`; a piece of information (a rule or variable of a kind) is whole or left
// out, named by its kind. "#" becomes a figure and "@" a capital letter. Spaces never double and the text has none
// at its ends.
class GrammarExpander
{
public:
    GrammarExpander(const Grammar& grammar, RandomSource& random, const std::optional<QString>& allowed);

    // Appends the expansion of `rule`; false when the grammar nests too deep or grows without end (failure()).
    bool expand(const QString& rule);

    // The text so far, without a trailing space.
    GeneratedText take();
    const QString& failure() const { return m_failure; }

    // One item of `list` (named `name` when none fits), then plain text.
    void drawFrom(const QString& name, const WordList& list);
    void append(QStringView text);

private:
    // The items that can be written with the characters allowed, and their weights' sum.
    struct Fitting
    {
        QList<qsizetype> indices;
        int total = 0;
    };

    bool expandRule(const GrammarRule& rule, int depth, bool marked);
    bool expandPieces(const Alternative& alternative, int depth);
    bool useVariable(const GrammarRule& variable, int depth);
    bool bind(const GrammarRule& variable, int depth);
    bool clashes(const GrammarRule& variable, const QString& value) const;
    const Alternative* pick(const GrammarRule& rule);
    const Fitting& fitting(const GrammarRule& rule);
    const Fitting& fitting(const WordList& list);
    template <typename Item> const Item* draw(const QList<Item>& items, int total, const Fitting* fitting);
    bool fits(QStringView text) const;
    bool fitsItem(QStringView item) const;
    void appendDrawn(QStringView text);
    void appendFitting(QStringView text);
    void record(FieldKind kind, qsizetype before);
    void leaveOut(const QString& piece);
    bool stop(const GrammarRule& rule, const QString& why);

    const Grammar& m_grammar;
    RandomSource& m_random;
    std::optional<QString> m_allowed; // lower case
    QString m_letters;                // what "@" and "#" of a list item may become
    QString m_figures;
    GeneratedText m_out;
    QHash<const GrammarRule*, QString> m_values; // the variables drawn, "" for one left out
    QHash<const void*, Fitting> m_fitting;
    int m_steps = 0;
    int m_dropped = 0; // pieces left out so far, each time counted
    QString m_failure;
};
