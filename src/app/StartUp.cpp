#include "app/AppController.h"
#include "app/Layout.h"
#include "app/MainWindow.h"
#include "app/ParameterController.h"
#include "common/RandomSource.h"
#include "timing/Timing.h"
#include "exercise/ExerciseController.h"
#include "platform/MediaPlayer.h"
#include "sound/SoundController.h"
#include "common/Version.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QTime>
#include <QTimer>

namespace {

// The progressive character sets: each learning order cut into pieces of five, each item all the pieces of its
// order up to the current one.
QStringList ProgressiveSets()
{
    static const char16_t* const orders[] = {u"egmz0ahtr1nujf2idpc3wbyq4xovl5sk786=+?/9",
                                             u"eish5ptmo08'awj1qndb69kx=/,gz7?cylrf2v3?",
                                             u"0123456789abcdefghijklmnopqrstuvwxyz.,?/+'<*"};
    QStringList items;
    for (const char16_t* order : orders) {
        const QString text = QString::fromUtf16(order);
        for (qsizetype end = 5; end - 5 < text.size(); end += 5)
            items << text.left(end);
    }
    return items;
}

void fillKeepingText(QComboBox* combo, const QStringList& items)
{
    const QSignalBlocker blocker(combo);
    const QString text = combo->currentText();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

} // namespace

std::optional<QString> MainWindow::startUp()
{
    AppContext& ctx = *m_ctx;
    Form& ui = ctx.ui;

    // 1-2. Drill panel tucked away; the lists of the timing fields.
    ui.Frame2->hide();
    ui.Frame2->move(0, 0);
    fillKeepingText(ui.Text23, {QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9")});
    fillKeepingText(ui.Text20, {QStringLiteral("PARIS"), QStringLiteral("CODEX")});
    fillKeepingText(ui.Texte, ThinkingTimeItems());

    // 3-5. On screen, at its size; the settings panel ready to cover the whole window.
    show();
    resize(Twips(WindowSize::Width), Twips(WindowSize::FullHeight) - WindowSize::FramePixels);
    ui.Frame1->move(0, 0);
    ui.Frame1->resize(ui.central->width(), Twips(WindowSize::SettingsHeight));

    // 6. The player counts in milliseconds and reports every 999 ms.
    ctx.platform.player->setStatusIntervalMs(999);
    ctx.platform.player->setTimeFormatMilliseconds();

    // 7. Caption with the version.
    setWindowTitle(QStringLiteral("Tonique,  Version :%1.%2.%3")
                       .arg(Version::Major)
                       .arg(Version::Minor)
                       .arg(Version::Revision));

    // 8. The sign table and its list.
    SignFile file = LoadSignFile(QDir(ctx.programFolder).filePath(QStringLiteral("telkey.ref")));
    ui.List2->addItems(file.lines);
    if (file.status != SignFile::Status::Loaded)
        return file.errorText;
    ctx.signs = file.table;

    // 9-11. Speed list, WAV header, character sets.
    QStringList speeds;
    for (int wpm = 2; wpm <= 60; ++wpm)
        speeds << QString::number(wpm);
    fillKeepingText(ui.Combo1, speeds);
    ctx.sound->entete();
    ui.TEXT1->addItems(ProgressiveSets());
    ui.TEXT1->setCurrentIndex(0);
    ui.TEXT1->setCurrentIndex(ui.TEXT1->count() - 1);

    // 12-13. No sound prepared yet; the random stream moved on by the clock's seconds.
    ctx.app->ExerciseTextChanged();
    for (int i = QTime::currentTime().second(); i > 0; --i)
        ctx.random->next();

    // 14-16. Stored parameters (each one recomputes what depends on it), the tone, a first exam exercise.
    if (auto error = ctx.parameters->LoadParameters())
        return error;
    ctx.sound->BuildTonePeriod();
    ctx.exercises->ex1();

    if (m_options.startTimers) {
        ui.Timer1->start();
        ui.Timer2->start();
    }
    return std::nullopt;
}
