#include "common/Excerpt.h"

QString Excerpt(const QString& text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    qsizetype kept = limit - 1;
    if (kept > 0 && text[kept - 1].isHighSurrogate())
        --kept; // never half a character
    return text.left(kept) + u'…';
}
