#include "app/TimingController.h"

#include "app/AppContext.h"
#include "common/Numbers.h"
#include "platform/Beep.h"
#include "platform/MediaPlayer.h"
#include "sound/SoundController.h"
#include "timing/Timing.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

TimingController::TimingController(AppContext& ctx) : m_ctx(ctx) {}

void TimingController::ComputeDotLength()
{
    const Form& ui = m_ctx.ui;
    TimingFields fields;
    fields.referenceWord = ui.Text20->currentText();
    fields.espa = LeadingNumber(ui.Text21->text());
    fields.espb = LeadingNumber(ui.Text22->text());
    fields.espc = LeadingNumber(ui.Text23->currentText());
    fields.dash = LeadingNumber(ui.Text24->text());
    fields.wpm = LeadingNumber(ui.Combo1->currentText());
    const DotLengthResult result = ::ComputeDotLength(fields, m_ctx.signs);
    switch (result.status) {
    case DotLengthResult::Status::MissingCharacter:
        m_ctx.platform.beep->beep();
        return;
    case DotLengthResult::Status::NoDivisor:
        // A speed of 0 or a spacing that leaves no dot in the minute: the last dot length stays.
        return;
    case DotLengthResult::Status::Ok:
        ui.TP->setText(FormatNumber(result.dotMs));
        return;
    }
}

void TimingController::DotLengthChanged()
{
    const Form& ui = m_ctx.ui;
    ui.Command3->show();
    m_ctx.platform.player->close();
    m_ctx.platform.player->setVisible(false);

    if (LeadingNumber(ui.TP->text()) == 0 || !m_ctx.sound->hasTonePeriod())
        return;
    // TP may hold the user's decimal comma: read it in full.
    const double dotMs = DotLengthFromText(ui.TP->text());
    if (!(dotMs > 0))
        return; // a negative dot length has no runs: the previous ones stay
    m_ctx.sound->BuildSampleRuns(dotMs, LeadingNumber(ui.Text21->text()), LeadingNumber(ui.Text22->text()),
                                 LeadingNumber(ui.Text23->currentText()), LeadingNumber(ui.Texte->currentText()));
}

void TimingController::Text22Changed()
{
    // The character gap is never left empty; refilling it runs this handler again, which computes.
    if (m_ctx.ui.Text22->text().isEmpty())
        m_ctx.ui.Text22->setText(QStringLiteral("1"));
    ComputeDotLength();
}
