#include "app/AppController.h"

#include "app/Layout.h"
#include "common/RandomSource.h"
#include "playback/PreparedSound.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

AppController::AppController(const Controls& controls, PreparedSound& sound, RandomSource& random)
    : m_ui(controls), m_sound(sound), m_random(random)
{}

void AppController::ExerciseTextChanged()
{
    // The sound prepared before no longer matches the text.
    m_sound.withdraw(true);
}

void AppController::ShowSettingsView()
{
    m_ui.Check2->setChecked(false);
    for (QMenu* menu : {m_ui.fichier, m_ui.gpa, m_ui.textes, m_ui.act, m_ui.entrainement})
        menu->menuAction()->setVisible(false);
    m_ui.afff->setVisible(false);
    m_ui.Frame2->hide();
    m_ui.Frame1->show();
    m_ui.Frame1->raise();
    keepKeyboardInView();
}

void AppController::ShowExerciseView()
{
    ExerciseTextChanged();
    m_ui.Frame1->hide();
    for (QMenu* menu : {m_ui.fichier, m_ui.gpa, m_ui.textes, m_ui.act, m_ui.entrainement})
        menu->menuAction()->setVisible(true);
    m_ui.afff->setVisible(true);
    keepKeyboardInView();
}

void AppController::keepKeyboardInView()
{
    // The panels cover the controls beneath them without hiding them: those would otherwise still take the
    // keyboard's focus and be read out.
    m_ui.exerciseView->setVisible(m_ui.Frame1->isHidden() && m_ui.Frame2->isHidden());
    m_ui.Frame1->setEnabled(m_ui.Frame2->isHidden());
}

void AppController::Check2Toggled(bool tick)
{
    const int height = tick ? WindowSize::CacheHeight : WindowSize::FullHeight;
    m_ui.window->resize(m_ui.window->width(), Twips(height) - WindowSize::FramePixels);
}

void AppController::Timer1Tick()
{
    // The draw makes the groups depend on when the user presses.
    m_random.next();
    QPushButton* button = m_ui.Command25;
    button->setText(button->text() != QLatin1String("OK") ? QStringLiteral("OK") : QString());
}

void AppController::showDrillPanel(bool shown)
{
    m_ui.Frame2->setVisible(shown);
    if (shown)
        m_ui.Frame2->raise(); // also over the settings panel when the drill starts from there
    keepKeyboardInView();
}

void AppController::setCompact(bool compact)
{
    m_ui.Check2->setChecked(compact);
}
