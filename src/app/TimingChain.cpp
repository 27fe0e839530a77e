#include "app/TimingChain.h"

#include "common/Numbers.h"
#include "platform/Beep.h"
#include "playback/PreparedSound.h"
#include "sound/ToneSynthesis.h"
#include "timing/Timing.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

TimingChain::TimingChain(const Controls& controls, const SignTable& signs, SoundPieces& pieces, PreparedSound& sound,
                         Beep& beep)
    : m_ui(controls), m_signs(signs), m_pieces(pieces), m_sound(sound), m_beep(beep)
{}

TimingFields TimingChain::fieldsShown() const
{
    TimingFields fields;
    fields.referenceWord = m_ui.Text20->currentText();
    fields.espa = LeadingNumber(m_ui.Text21->text());
    fields.espb = LeadingNumber(m_ui.Text22->text());
    fields.espc = LeadingNumber(m_ui.Text23->currentText());
    fields.dash = LeadingNumber(m_ui.Text24->text());
    fields.wpm = LeadingNumber(m_ui.Combo1->currentText());
    return fields;
}

void TimingChain::ComputeDotLength()
{
    const TimingFields fields = fieldsShown();
    const DotLengthResult result = DotLengthOf(fields, m_signs);
    switch (result.status) {
    case DotLengthResult::Status::MissingCharacter:
        m_beep.beep();
        return;
    case DotLengthResult::Status::NoDivisor:
        // A speed of 0 or a spacing that leaves no dot in the minute: the last dot length stays.
        return;
    case DotLengthResult::Status::Ok:
        m_ui.TP->setText(FormatNumber(result.dotMs));
        return;
    }
}

void TimingChain::DotLengthChanged()
{
    m_sound.withdraw();
    if (LeadingNumber(m_ui.TP->text()) == 0 || m_pieces.tonePeriod.isEmpty())
        return;
    // TP may hold the user's decimal comma: read it in full.
    const double dotMs = DotLengthFromText(m_ui.TP->text());
    if (!(dotMs > 0))
        return; // a negative dot length has no runs: the previous ones stay
    // Gaps that give no runs (negative, absurd) leave the previous runs in place too.
    if (auto runs = MakeSampleRuns(m_pieces.tonePeriod, dotMs, LeadingNumber(m_ui.Text21->text()),
                                   LeadingNumber(m_ui.Text22->text()), LeadingNumber(m_ui.Text23->currentText()),
                                   LeadingNumber(m_ui.Texte->currentText()))) {
        m_pieces.runs = std::move(*runs);
        m_pieces.dotMs = dotMs;
        m_pieces.wpm = SpeedOfDotLength(dotMs, fieldsShown(), m_signs).value_or(0);
    }
}

void TimingChain::Text22Changed()
{
    // The character gap is never left empty; refilling it runs this handler again, which computes.
    if (m_ui.Text22->text().isEmpty())
        m_ui.Text22->setText(QStringLiteral("1"));
    ComputeDotLength();
}

void TimingChain::BuildTonePeriod()
{
    const int frequency = m_ui.HScroll4->value();
    const int volume = m_ui.vol->value();
    m_ui.Command1->setText(u"Test tonalité à ( " + QString::number(frequency) + u"Hz Vol=" + QString::number(volume) +
                           u")");
    m_sound.closePlayer();
    m_pieces.tonePeriod = MakeTonePeriod(frequency, volume);
    m_pieces.frequency = frequency;
    m_pieces.volume = volume;
    DotLengthChanged();
}
