#pragma once

#include <QString>
#include <QStringList>

class RandomSource;
class SignTable;

// One call sign as heard on the air: three times in five a French one, drawn from the series by their weights (the
// F4, F5, F6 and F8 series most often), with "/P" or "/M" now and then; otherwise one of the call-sign generator,
// with its European and world prefixes.
QString DrawRaceCall(RandomSource& random);

// Whether `text` has the form of a call sign: 3 to 12 letters, figures and strokes, at most three parts between
// strokes, one of which has a letter beside a figure.
bool LooksLikeCallSign(const QString& text);

// The calls of a file of real call signs, one per line, and what the learner is told about it (French, empty when
// all went well). Only the first MaxCallFileBytes bytes are read.
struct CallSignFile
{
    QStringList calls;
    QString message;
};
inline constexpr qint64 MaxCallFileBytes = qint64(1) << 20;
CallSignFile ReadCallSignFile(const QString& path, const SignTable& signs);
