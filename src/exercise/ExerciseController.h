#pragma once

#include "exercise/ExercisePresets.h"
#include "exercise/RandomGroups.h"

class ExerciseMarks;
class ExerciseText;
class ExerciseViews;
class FileDialog;
class MessageBox;
class PreparedSound;
class Printer;
class Progress;
class QComboBox;
class QLineEdit;
class QWidget;
class RandomSource;

// The exercise text's generators and tools, each the click action of its control.
class ExerciseController : public ExercisePresets
{
public:
    struct Controls
    {
        QWidget* window = nullptr; // printed by "Imprimer"
        QLineEdit* Text3 = nullptr;
        QLineEdit* Text6 = nullptr;
        QLineEdit* Text7 = nullptr;
        QLineEdit* Text12 = nullptr;       // the reinforced character
        const QComboBox* TEXT1 = nullptr;  // the character set
        const QLineEdit* Text8 = nullptr;  // the DIV set
        const QComboBox* Combo1 = nullptr; // the speed, for the speed check
        const QComboBox* Text20 = nullptr; // the reference word, for the speed check
    };
    struct Services
    {
        ExerciseText& exercise;
        ExerciseMarks& marks;
        PreparedSound& sound;
        ExerciseViews& views;
        RandomSource& random;
        FileDialog& fileDialog;
        Printer& printer;
        MessageBox& messages;
        Progress& progress;
    };
    ExerciseController(const Controls& controls, const Services& services);

    void Command5Click(); // LETTRES
    void Command6Click(); // CHIFFRES
    void Command8Click(); // DIV
    void Command7Click(); // CLS

    void ex1();     // Style examen 30 + 6
    void EX2();     // Alterner 5 lettres 1 chiffres
    void diag();    // Chiffres en diagonale
    void melange(); // Tout Mélanger
    void indicatifs();
    // The groups of "Style examen 30 + 6" appended to the exercise text, without emptying it or preparing the sound.
    void examGroups();

    void inv();
    void doubleSpaces(); // menu item "double"
    void acc();
    void ouvrir();
    void imprimer();
    void Command4Click(); // Vérifier la vitesse

    void makeExercise(const std::function<void(const TextSink& append)>& fill) override;

private:
    // L(n) and F(n) of the presets: the count written into Text3 or Text6, then the generator reads it back.
    void letters(int count);
    void figures(int count);
    // One write of the exercise text per call.
    TextSink appender();

    Controls m_ui;
    Services m_services;
};
