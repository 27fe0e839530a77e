#include "app/ParameterController.h"

#include "app/AppContext.h"
#include "app/AppController.h"
#include "app/Assign.h"
#include "common/Numbers.h"
#include "parameters/Parameters.h"
#include "platform/SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>

namespace {

using namespace Parameters;

// A stored number as a scroll bar takes it: the whole text must be a number, rounded half to even.
std::optional<int> wholeNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral(R"(^\s*[+-]?(\d+[.,]?\d*|[.,]\d+)([eE][+-]?\d+)?\s*$)"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    QString plain = text.trimmed();
    plain.replace(u',', u'.');
    const double value = RoundHalfEven(LeadingNumber(plain));
    if (!(value >= -2147483648.0 && value <= 2147483647.0))
        return std::nullopt;
    return static_cast<int>(value);
}

QString unusable(const QString& key, const QString& text, const QString& what, int min, int max)
{
    return QStringLiteral("Le paramètre enregistré « %1 » vaut « %2 » : %3 n'accepte qu'un nombre entier de %4 à %5.\n"
                          "Corrigez-le ou supprimez-le dans les réglages de Tonique, puis relancez le programme.")
        .arg(key, text, what)
        .arg(min)
        .arg(max);
}

} // namespace

ParameterController::ParameterController(AppContext& ctx) : m_ctx(ctx) {}

std::optional<QString> ParameterController::LoadParameters()
{
    Form& ui = m_ctx.ui;
    const SettingsStore& store = *m_ctx.platform.settings;
    auto read = [&store](const Key& key) { return store.read(name(key), defaultValue(key)); };

    Assign(ui.Text20, read(paris));
    Assign(ui.Text21, read(espa));
    Assign(ui.Text22, read(espb));
    Assign(ui.Text23, read(espc));
    Assign(ui.Text24, read(tp));
    Assign(ui.Combo1, read(mn));
    Assign(ui.TEXT1, read(prog));
    Assign(ui.Text8, read(ponctu));
    Assign(ui.Text9, read(deb));
    Assign(ui.Text4, read(fin));
    Assign(ui.Text15, read(com));
    Assign(ui.Texte, read(supl));

    const QString volume = read(vol);
    const auto volumeValue = wholeNumber(volume);
    if (!volumeValue || *volumeValue < VolumeMin || *volumeValue > VolumeMax)
        return unusable(name(vol), volume, QStringLiteral("le volume"), VolumeMin, VolumeMax);
    ui.vol->setValue(*volumeValue);

    const QString tone = read(tona);
    int toneValue = 800;
    if (LeadingNumber(tone) >= LowestStoredTone) {
        const auto stored = wholeNumber(tone);
        if (!stored || *stored < ToneMin || *stored > ToneMax)
            return unusable(name(tona), tone, QStringLiteral("la fréquence"), ToneMin, ToneMax);
        toneValue = *stored;
    }
    ui.HScroll4->setValue(toneValue);
    return std::nullopt;
}

void ParameterController::SaveParameters()
{
    const Form& ui = m_ctx.ui;
    SettingsStore& store = *m_ctx.platform.settings;
    auto write = [&store](const Key& key, const QString& value) { store.write(name(key), value); };
    write(paris, ui.Text20->currentText());
    write(espa, ui.Text21->text());
    write(espb, ui.Text22->text());
    write(espc, ui.Text23->currentText());
    write(tp, ui.Text24->text());
    write(mn, ui.Combo1->currentText());
    write(prog, ui.TEXT1->currentText());
    write(com, ui.Text15->text());
    write(ponctu, ui.Text8->text());
    write(deb, ui.Text9->text());
    write(fin, ui.Text4->text());
    write(supl, ui.Texte->currentText());
    write(tona, QString::number(ui.HScroll4->value()));
    write(vol, QString::number(ui.vol->value()));
    m_ctx.app->ShowExerciseView();
}

void ParameterController::ResetToExamValues()
{
    Form& ui = m_ctx.ui;
    auto exam = [](const Key& key) { return QString::fromUtf16(key.examValue); };
    Assign(ui.Text20, exam(paris));
    Assign(ui.Text21, exam(espa));
    Assign(ui.Text22, exam(espb));
    Assign(ui.Text23, exam(espc));
    Assign(ui.Text24, exam(tp));
    Assign(ui.Combo1, exam(mn));
    Assign(ui.TEXT1, exam(prog));
    Assign(ui.Text8, exam(ponctu));
    Assign(ui.Text9, exam(deb));
    Assign(ui.Text4, exam(fin));
    Assign(ui.Texte, exam(supl));
    ui.HScroll4->setValue(900);
    ui.vol->setValue(64);
}
