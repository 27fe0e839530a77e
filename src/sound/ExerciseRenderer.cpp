#include "sound/ExerciseRenderer.h"

#include "common/WavFormat.h"

// ---- ExerciseRenderer

ExerciseRenderer::ExerciseRenderer(const SignTable& signs, const SampleRuns& runs) : m_signs(signs), m_runs(runs)
{
    m_latin1.fill(0);
}

const QString* ExerciseRenderer::patternOf(QChar c)
{
    const char16_t u = c.unicode();
    int index = 0;
    if (u < m_latin1.size() && m_latin1[u] != 0) {
        index = m_latin1[u];
    } else if (u >= m_latin1.size() && m_others.contains(u)) {
        index = m_others.value(u);
    } else {
        const auto found = m_signs.FindSign(QString(c).toLower());
        index = found ? *found + 1 : -1;
        if (u < m_latin1.size())
            m_latin1[u] = qint16(index);
        else
            m_others.insert(u, index);
    }
    return index > 0 ? &m_signs.entry(index - 1).pattern : nullptr;
}

void ExerciseRenderer::WriteCharacter(ByteSink& sink, QChar c, bool finalCharacter)
{
    if (c == u' ') {
        if (!finalCharacter)
            sink.appendRun(m_runs.wordGap.constData(), m_runs.wordGap.size(), 0);
        return;
    }
    const QString* pattern = patternOf(c);
    if (!pattern)
        return;
    const qsizetype last = pattern->size() - 1;
    for (qsizetype i = 0; i <= last; ++i) {
        const bool dot = pattern->at(i) == u'.';
        const QByteArray& run = dot ? m_runs.dot : m_runs.dash;
        const qsizetype size = finalCharacter && i == last ? run.size() - m_runs.elementGap : run.size();
        sink.appendRun(run.constData(), size, dot ? m_runs.dotTone : 3 * m_runs.dotTone);
    }
    if (!finalCharacter)
        sink.appendRun(m_runs.charGap.constData(), m_runs.charGap.size(), 0);
}

bool ExerciseRenderer::writeSamples(ByteSink& sink, QStringView start, QStringView text, QStringView end,
                                    const CarryOn& carryOn)
{
    for (const QChar c : start)
        WriteCharacter(sink, c, false);
    if (!start.isEmpty())
        WriteCharacter(sink, u' ', false);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (carryOn && i % ProgressEvery == 0 && !carryOn(double(i) / double(text.size())))
            return false;
        WriteCharacter(sink, text[i], false);
    }
    if (!end.isEmpty())
        WriteCharacter(sink, u' ', false);
    for (qsizetype i = 0; i < end.size(); ++i)
        WriteCharacter(sink, end[i], i == end.size() - 1);
    return true;
}

quint64 ExerciseRenderer::wavLength(QStringView start, QStringView text, QStringView end)
{
    CountingSink counter;
    writeSamples(counter, start, text, end);
    return quint64(WavFormat::HeaderSize) + counter.bytes;
}
