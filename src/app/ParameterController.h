#pragma once

#include "common/Result.h"

class ExerciseViews;
class QComboBox;
class QLineEdit;
class QScrollBar;
class SettingsStore;

// The parameters between their fields and the settings store: loaded at start-up, saved by SAUVE, reset to the exam
// values by R.A.Z. The fields stay the parameters; every assignment runs the field's change handling.
class ParameterController
{
public:
    struct Fields
    {
        QComboBox* Text20 = nullptr;    // paris
        QLineEdit* Text21 = nullptr;    // espa
        QLineEdit* Text22 = nullptr;    // espb
        QComboBox* Text23 = nullptr;    // espc
        QLineEdit* Text24 = nullptr;    // tp
        QComboBox* Combo1 = nullptr;    // mn
        QComboBox* TEXT1 = nullptr;     // prog
        QLineEdit* Text15 = nullptr;    // com
        QLineEdit* Text8 = nullptr;     // ponctu
        QLineEdit* Text9 = nullptr;     // deb
        QLineEdit* Text4 = nullptr;     // fin
        QComboBox* Texte = nullptr;     // supl
        QScrollBar* HScroll4 = nullptr; // tona
        QScrollBar* vol = nullptr;      // vol
    };
    ParameterController(const Fields& fields, SettingsStore& store, ExerciseViews& views);

    // Reads every key into its field, in the start-up order. Fails with the French message when a stored frequency
    // or volume cannot be taken by its scroll bar.
    Failure LoadParameters();
    void SaveParameters();    // SAUVE, then back to the exercise view
    void ResetToExamValues(); // R.A.Z.

private:
    Fields m_ui;
    SettingsStore& m_store;
    ExerciseViews& m_views;
};
