#include "app/ParameterController.h"

#include "app/Assign.h"
#include "exercise/ExerciseViews.h"
#include "parameters/Parameters.h"
#include "platform/SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>

using namespace Parameters;

ParameterController::ParameterController(const Fields& fields, SettingsStore& store, ExerciseViews& views)
    : m_ui(fields), m_store(store), m_views(views)
{}

Failure ParameterController::LoadParameters()
{
    const Fields& ui = m_ui;
    const SettingsStore& store = m_store;
    auto read = [&store](const Key& key) { return Stored(store, key); };

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

    const Result<int> volume = VolumeFromStored(read(vol));
    if (!volume)
        return volume.failure();
    ui.vol->setValue(*volume);
    const Result<int> tone = ToneFromStored(read(tona));
    if (!tone)
        return tone.failure();
    ui.HScroll4->setValue(*tone);
    return {};
}

void ParameterController::SaveParameters()
{
    const Fields& ui = m_ui;
    SettingsStore& store = m_store;
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
    m_views.returnToExerciseView();
}

void ParameterController::ResetToExamValues()
{
    const Fields& ui = m_ui;
    auto exam = [](const Key& key) { return examValue(key); };
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
    ui.HScroll4->setValue(ExamTone);
    ui.vol->setValue(ExamVolume);
}
