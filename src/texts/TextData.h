#pragma once

#include "common/Result.h"
#include "playback/TextFields.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The language of the generated texts as its data files say it. Two kinds of plain-text files, one entry a line,
// "#" starting a comment line:
// - a list: one item a line, "item | weight" to draw it more often (1 otherwise); in an item, as in the text of a
//   grammar, "#" stands for a figure and "@" for a capital letter drawn afresh each time (call sign series);
// - a grammar: "name = text | weight" lines, each an alternative of the rule `name` (several lines, several
//   alternatives); "$name = …" is a variable, drawn once per text and repeated as it is. "name:kind" marks what the
//   rule or variable says (indicatif, report, prenom, qth, puissance, equipement, meteo). In a text, "<name>" is a
//   rule, "$name" a variable, "{name}" a line of the list file name.txt.

struct ListItem
{
    QString text;
    int weight = 1;
};

struct WordList
{
    QString file;
    QList<ListItem> items;
    int totalWeight = 0;
};

struct GrammarPiece
{
    enum class Kind
    {
        Literal,
        Rule,
        Variable,
        List,
    };
    Kind kind = Kind::Literal;
    QString text; // the literal text, or the name referred to
    // What the name refers to (a GrammarRule or a WordList of the same grammar), once the grammar is loaded.
    const void* target = nullptr;
};

struct Alternative
{
    QList<GrammarPiece> pieces;
    int weight = 1;
    int line = 0;
};

struct GrammarRule
{
    QString name;
    bool variable = false;
    std::optional<FieldKind> kind;
    QList<Alternative> alternatives;
    int line = 0; // where it is first defined
    int totalWeight = 0;
};

// Its pieces point into its own tables: a grammar is moved (which keeps them), never copied.
struct Grammar
{
    QString file;
    QHash<QString, GrammarRule> rules; // variables under "$name"
    QHash<QString, WordList> lists;    // by list name
};

// Reads a data file by its name ("qso.txt"): its text, or a French message naming it.
using DataFileReader = std::function<Result<QString>(const QString& name)>;
// Whether a character can be sounded (it is in the sign table).
using SoundableCheck = std::function<bool(QChar)>;

// The characters of a data file that cannot be sounded are dropped; each is reported once, in `warnings`, with the
// line it was first met on.
Result<WordList> ParseWordList(const QString& file, const QString& text, const SoundableCheck& soundable,
                               QStringList& warnings);

// A grammar and every list it draws from, checked: each rule referred to exists, `start` among them, and each can
// come to an end (a rule that only ever calls itself again is refused).
Result<Grammar> LoadGrammar(const QString& file, const QString& start, const DataFileReader& read,
                            const SoundableCheck& soundable, QStringList& warnings);
