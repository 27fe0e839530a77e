#pragma once

#include "sound/Conditions.h"
#include "sound/ExerciseRenderer.h"

#include <memory>

class SignTable;
struct SampleRuns;

// The band conditions put on the clean sound while the renderer writes it, between the renderer and the file.
// The clean bytes are read as the 16-bit samples a player reads from them; the stage changes the lengths of tones
// and gaps (hand-sent timing, always by whole samples, so that every later byte keeps its place in its sample),
// shapes the edges of each tone, fades the main signal, adds a second station and noise, and writes samples.
// Its random numbers come from `seed` alone: the same seed gives the same bytes.
class ConditionsStage : public ByteSink
{
public:
    // `runs` are those the renderer writes (their tone, dot and period lengths); `signs` sound the second station.
    ConditionsStage(const ReceptionConditions& conditions, const SampleRuns& runs, const SignTable& signs, quint64 seed,
                    ByteSink& out);
    ~ConditionsStage() override;

    using ByteSink::append;
    // Bytes with no tone in them.
    void append(const char* data, qsizetype size) override;
    void appendRun(const char* data, qsizetype size, qsizetype toneBytes) override;
    // Writes what is still pending, the last gap included; a half sample at the very end is left out.
    void finish();

    // What every sample is multiplied by so that the loudest sum of signal, second station and noise fits in
    // 16 bits (1 when it fits as it is).
    double scale() const;

private:
    class Impl;
    std::unique_ptr<Impl> d;
};
