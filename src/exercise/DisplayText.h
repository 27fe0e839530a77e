#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// The exercise text as its view shows it. The view wraps its lines at white space only, so that a call sign such
// as "ES/C4GDY/MM" is never cut in two: wherever the text could otherwise break a line (after "/", "-" or "?"
// followed by a character, between two ideographs...) the displayed form holds a ZERO WIDTH JOINER, which takes no
// room, forbids the break and lets the caret step over the pair as one character; not after a pictograph, which it
// would fuse with the next one into a single sign. Each line end of the text (CR LF, CR, LF, U+2029) is one
// paragraph separator of the view. The exercise text itself never holds these joiners: the
// functions below map the view's edits back to it, touching nothing but what the user edited.

inline constexpr QChar DisplayJoiner = u'\u200D';
// Characters on a line of the view.
inline constexpr int DisplayColumns = 36;
// A paragraph of more lines than this is shown as blocks of this many lines each, cut at the start of a line: the
// view lays each block out on its own (one paragraph of megabytes would take it minutes).
inline constexpr qsizetype ChunkLines = 48;

// The displayed form of `text`.
QString DisplayForm(QStringView text);

// `removed` characters at `from` replaced by `inserted`.
struct TextChange
{
    qsizetype from = 0;
    qsizetype removed = 0;
    QString inserted;
};

// An edit of the view, as a change of the exercise text and the span of the edited view that shows its
// inserted piece.
struct ViewEdit
{
    TextChange text;
    qsizetype shownFrom = 0;
    qsizetype shownTo = 0;
};

// The edit that turned `shown`, the displayed form of `text`, into `now`. `hint` is where the view said its edit
// starts (-1 when unknown): among equal characters the edit is placed there, where the user made it. The inserted
// piece loses any joiner and has its line breaks as CR LF; an edit that only took a joiner away (Backspace after
// "/") takes away the character it was joined to. Linear in the length of the text.
ViewEdit EditFromView(QStringView text, QStringView shown, QStringView now, qsizetype hint);

// The changes that make `now` the displayed form of `text` again once `edit` has been made to `text`, in the order
// they are to be made (last first, so that each position holds). Only the words around the edit, up to the nearest
// white space, are looked at.
QList<TextChange> RedisplayChanges(QStringView text, QStringView now, const ViewEdit& edit);

// The change of `shown`, the displayed form of `text`, that shows `change` made by the program (`changed` is the
// text after it): the words around it displayed anew. `caret` gets the displayed position just after the
// inserted characters.
TextChange ShownChange(QStringView text, QStringView shown, const TextChange& change, QStringView changed,
                       qsizetype& caret);

// The characters of `text` that [from, to) of its displayed form `shown` stands for.
QString TextOfShown(QStringView text, QStringView shown, qsizetype from, qsizetype to);
