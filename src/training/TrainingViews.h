#pragma once

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class QWidget;

// The controls of the training that adapts.
struct TrainingForm
{
    QAction* exerciceCible = nullptr; // "Exercice ci&blé", menu "&Entraînement"
    QFrame* offre = nullptr;          // the offer of the next set, hidden until made
    QLabel* offreTexte = nullptr;     // "Passer à « ... » ?"
    QPushButton* oui = nullptr;
    QPushButton* plusTard = nullptr;
    QToolButton* suggestion = nullptr; // beside Text12: the weakest character, to reinforce
};

// Adds the menu item to `menu`, the suggestion just right of `Text12` and the offer over the foot of the exercise
// text `Text2`, both in the exercise view and under `cover` (the panels that hide that view). Nothing existing moves.
TrainingForm BuildTrainingControls(QMenu& menu, const QLineEdit* Text12, const QWidget* Text2, QWidget* cover);
