#include "app/AppController.h"

#include "app/AppContext.h"
#include "app/Layout.h"
#include "common/RandomSource.h"
#include "platform/MediaPlayer.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>

AppController::AppController(AppContext& ctx) : m_ctx(ctx) {}

void AppController::ExerciseTextChanged()
{
    // The sound prepared before no longer matches the text.
    m_ctx.ui.Command3->show();
    m_ctx.platform.player->close();
    m_ctx.platform.player->setVisible(false);
    m_ctx.ui.Text14->hide();
}

void AppController::ShowSettingsView()
{
    Form& ui = m_ctx.ui;
    ui.Check2->setChecked(false);
    for (QMenu* menu : {ui.fichier, ui.gpa, ui.act})
        menu->menuAction()->setVisible(false);
    ui.afff->setVisible(false);
    ui.Frame2->hide();
    ui.Frame1->show();
    ui.Frame1->raise();
}

void AppController::ShowExerciseView()
{
    Form& ui = m_ctx.ui;
    ExerciseTextChanged();
    ui.Frame1->hide();
    for (QMenu* menu : {ui.fichier, ui.gpa, ui.act})
        menu->menuAction()->setVisible(true);
    ui.afff->setVisible(true);
}

void AppController::Check2Toggled(bool tick)
{
    const int height = tick ? WindowSize::CacheHeight : WindowSize::FullHeight;
    m_ctx.ui.window->resize(m_ctx.ui.window->width(), Twips(height) - WindowSize::FramePixels);
}

void AppController::Timer1Tick()
{
    // The draw makes the groups depend on when the user presses.
    m_ctx.random->next();
    QPushButton* button = m_ctx.ui.Command25;
    button->setText(button->text() != QLatin1String("OK") ? QStringLiteral("OK") : QString());
}
