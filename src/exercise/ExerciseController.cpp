#include "exercise/ExerciseController.h"

#include "common/Numbers.h"
#include "exercise/CallSign.h"
#include "exercise/ExerciseMarks.h"
#include "exercise/ExerciseText.h"
#include "exercise/ExerciseViews.h"
#include "exercise/TextTools.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Printer.h"
#include "platform/Progress.h"
#include "playback/PreparedSound.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>

namespace {

constexpr int CallSignsPerExercise = 36;

} // namespace

ExerciseController::ExerciseController(const Controls& controls, const Services& services)
    : m_ui(controls), m_services(services)
{}

TextSink ExerciseController::appender()
{
    return [&text = m_services.exercise](QStringView piece) { text.append(piece); };
}

// The generators append one character or space per write, each running ExerciseTextChanged; the Batch only puts
// off the widget's refresh to the end of the press so that a long run of groups stays linear.

void ExerciseController::Command5Click()
{
    ExerciseText::Batch batch(m_services.exercise);
    AppendLetterGroups(LeadingNumber(m_ui.Text3->text()), m_ui.TEXT1->currentText(), m_ui.Text12->text(),
                       m_services.random, appender());
}

void ExerciseController::Command6Click()
{
    ExerciseText::Batch batch(m_services.exercise);
    AppendFigureGroups(LeadingNumber(m_ui.Text6->text()), m_ui.TEXT1->currentText(), m_services.random, appender());
}

void ExerciseController::Command8Click()
{
    ExerciseText::Batch batch(m_services.exercise);
    AppendAnyGroups(LeadingNumber(m_ui.Text7->text()), m_ui.Text8->text(), m_services.random, appender());
}

void ExerciseController::Command7Click()
{
    m_services.exercise.set(QString());
}

void ExerciseController::letters(int count)
{
    m_ui.Text3->setText(QString::number(count));
    Command5Click();
}

void ExerciseController::figures(int count)
{
    m_ui.Text6->setText(QString::number(count));
    Command6Click();
}

// The presets: 36 groups, six lines of six. The text is complete (and the widget refreshed) before the rendering,
// which lets the window repaint once while it works.

void ExerciseController::makeExercise(const std::function<void(const TextSink& append)>& fill)
{
    {
        ExerciseText::Batch batch(m_services.exercise);
        m_services.exercise.set(QString());
        fill(appender());
    }
    m_services.sound.prepare(SoundOrigin::Exercise);
}

void ExerciseController::ex1()
{
    makeExercise([this](const TextSink&) { examGroups(); });
}

void ExerciseController::examGroups()
{
    m_ui.Text3->setText(QStringLiteral("30"));
    m_ui.Text6->setText(QStringLiteral("6"));
    Command5Click();
    Command6Click();
}

void ExerciseController::EX2()
{
    makeExercise([this](const TextSink&) {
        for (int line = 0; line < 6; ++line) {
            letters(5);
            figures(1);
        }
    });
}

void ExerciseController::diag()
{
    makeExercise([this](const TextSink&) {
        // The figure group moves one column left on each line: groups 6, 11, 16, 21, 26, 31.
        letters(5);
        figures(1);
        for (int line = 0; line < 5; ++line) {
            letters(4);
            figures(1);
        }
        letters(5);
    });
}

void ExerciseController::melange()
{
    makeExercise([this](const TextSink& append) {
        m_ui.Text3->setText(QStringLiteral("36"));
        AppendAnyGroups(LeadingNumber(m_ui.Text3->text()), m_ui.TEXT1->currentText(), m_services.random, append);
    });
}

void ExerciseController::indicatifs()
{
    makeExercise([this](const TextSink& append) {
        for (int i = 0; i < CallSignsPerExercise; ++i)
            append(QString(indicatif(m_services.random) + u' '));
    });
}

void ExerciseController::inv()
{
    m_services.sound.closePlayer();
    m_services.exercise.set(ReverseText(m_services.exercise.text()));
}

void ExerciseController::doubleSpaces()
{
    ExerciseText::Batch batch(m_services.exercise);
    const QString text = m_services.exercise.text();
    m_services.exercise.set(QString());
    ProgressScope progress(m_services.progress, QStringLiteral("Espaces doublés..."));
    // Cancelled part way: the text is what it was before.
    if (!SpreadText(text, appender(), progress.carryOn()))
        m_services.exercise.set(text);
}

void ExerciseController::acc()
{
    m_services.exercise.set(RemoveAccents(m_services.exercise.text()));
}

void ExerciseController::ouvrir()
{
    const QString name = m_services.fileDialog.getOpenFileName(QStringLiteral("TXT (*.txt)"));
    ExerciseText::Batch batch(m_services.exercise);
    m_services.exercise.set(QString());
    // Cancelled, missing, unreadable or failing part way: silently, with the lines read so far. A file that is not
    // a text would give an empty exercise for no visible reason: that one is told, without stopping the user.
    QFile file(name);
    if (name.isEmpty() || !file.open(QIODevice::ReadOnly))
        return;
    if (AppendFileLines(file, appender()) == FileLines::NotText)
        m_services.messages.warningLater(u"Le fichier «\u202F" + QFileInfo(name).fileName() +
                                         u"\u202F» n'est pas un fichier texte\u202F: l'exercice reste vide.");
}

void ExerciseController::imprimer()
{
    // Without a printer nothing is printed and nothing is said.
    m_services.printer.printImage(m_ui.window->grab().toImage());
}

void ExerciseController::Command4Click()
{
    {
        ExerciseText::Batch batch(m_services.exercise);
        m_services.exercise.set(QString());
        m_services.marks.clear();
        AppendSpeedCheck(LeadingNumber(m_ui.Combo1->currentText()), m_ui.Text20->currentText(), appender());
    }
    m_services.sound.prepare(SoundOrigin::Exercise);
    m_services.views.returnToExerciseView();
}
