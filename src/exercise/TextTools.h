#pragma once

#include "common/Progress.h"
#include "exercise/RandomGroups.h"

#include <QString>
#include <QStringView>

class QIODevice;

// "Inverser le Texte": the characters in reverse order, line breaks included (CR LF comes out as LF CR). A
// surrogate pair stays in its order so that a character outside the 16-bit range survives.
QString ReverseText(QStringView text);

// "Doubler les espaces": every character of `text`, spaces and line breaks too, followed by a space, as one write
// per character; a character beyond the 16-bit range stays whole. `carryOn` is asked now and then; false when it
// stopped the spreading part way.
bool SpreadText(QStringView text, const TextSink& append, const CarryOn& carryOn = {});

// "Retirer les accents du texte": each character (code point) lower-cased, then é è ê à ç î ô ù û lose their
// accent, : ! - ( ) become spaces, ";" a comma and the double quote an apostrophe. One character for one, so the
// length stays.
QString RemoveAccents(QStringView text);

// What became of a file read by AppendFileLines.
enum class FileLines
{
    Read,
    NotText,   // it holds NUL bytes without being UTF-16 or UTF-32: no line at all
    ReadFailed // the complete lines before the failure were read
};

// "Ouvrir": reads the rest of `file` as a text (DecodeTextFile) and appends its lines without their ends (CR LF, LF
// or CR) and without any separator, one write per line.
FileLines AppendFileLines(QIODevice& file, const TextSink& append);

// "Vérifier la vitesse": `word` RepeatCount(wpm) times, each followed by a space unless `wpm` equals its rank, so a
// whole number of words per minute gives no trailing space and a fractional one a space after every word.
void AppendSpeedCheck(double wpm, QStringView word, const TextSink& append);
