#pragma once

class Beep;
class PreparedSound;
class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollBar;
class SignTable;
struct SoundPieces;
struct TimingFields;

// The timing chain, in one place: speed, reference word and spacing give the dot length TP; TP and the extra
// thinking time give the element runs; the tone frequency and volume give the tone period, then the runs again.
// Every change withdraws the prepared sound, which no longer matches.
class TimingChain
{
public:
    struct Controls
    {
        QComboBox* Text20 = nullptr; // reference word
        QComboBox* Combo1 = nullptr; // speed, wpm
        QLineEdit* Text21 = nullptr; // espa
        QLineEdit* Text22 = nullptr; // espb
        QComboBox* Text23 = nullptr; // espc
        QLineEdit* Text24 = nullptr; // dash length
        QComboBox* Texte = nullptr;  // supl
        QLineEdit* TP = nullptr;     // dot length, ms
        QScrollBar* HScroll4 = nullptr;
        QScrollBar* vol = nullptr;
        QPushButton* Command1 = nullptr; // the tone test, captioned with the tone
    };
    TimingChain(const Controls& controls, const SignTable& signs, SoundPieces& pieces, PreparedSound& sound,
                Beep& beep);

    // Speed, reference word or spacing changed: writes the new dot length into TP, or beeps when the reference word
    // holds a character the sign table lacks. TP is left alone when the settings give no positive dot length.
    // The timing fields as they stand, read the way the dot length reads them.
    TimingFields fieldsShown() const;
    void ComputeDotLength();
    // TP or the extra thinking time changed: withdraws the prepared sound and rebuilds the element runs.
    void DotLengthChanged();
    // Text22 changed: an emptied field is refilled with "1".
    void Text22Changed();
    // The frequency or volume changed (and once at start-up): the tone period, Command1's caption, then the runs.
    void BuildTonePeriod();

private:
    Controls m_ui;
    const SignTable& m_signs;
    SoundPieces& m_pieces;
    PreparedSound& m_sound;
    Beep& m_beep;
};
