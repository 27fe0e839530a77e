#pragma once

#include "app/Form.h"

class QMainWindow;
class QObject;

// The controls of the window, built in their places and named after themselves; no behaviour is attached here.
void BuildMenus(QMainWindow& window, Form& ui);
// The exercise view on ui.central, with the player's buttons and the three timers (owned by `timerOwner`).
void BuildExerciseView(Form& ui, QObject* timerOwner);
// The settings panel "Réglages de base", hidden, covering the whole window.
void BuildSettingsPanel(Form& ui);
// The drill panel Frame2, hidden, covering what the compact window shows.
void BuildDrillPanel(Form& ui);
