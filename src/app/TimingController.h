#pragma once

struct AppContext;

// Keeps the dot length TP in step with the speed and spacing fields, and the element runs in step with TP.
class TimingController
{
public:
    explicit TimingController(AppContext& ctx);

    // Speed, reference word or spacing changed: writes the new dot length into TP, or beeps when the reference word
    // holds a character the sign table lacks. TP is left alone when the settings give no positive dot length.
    void ComputeDotLength();
    // TP or the extra thinking time changed: closes the player and rebuilds the element runs.
    void DotLengthChanged();
    // Text22 changed: an emptied field is refilled with "1".
    void Text22Changed();

private:
    AppContext& m_ctx;
};
