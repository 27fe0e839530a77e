#pragma once

#include "exercise/RandomGroups.h"

struct AppContext;

// The exercise text's generators and tools, each the click action of its control.
class ExerciseController
{
public:
    explicit ExerciseController(AppContext& ctx);

    void Command5Click(); // LETTRES
    void Command6Click(); // CHIFFRES
    void Command8Click(); // DIV
    void Command7Click(); // CLS

    void ex1();     // Style examen 30 + 6
    void EX2();     // Alterner 5 lettres 1 chiffres
    void diag();    // Chiffres en diagonale
    void melange(); // Tout Mélanger
    void indicatifs();

    void inv();
    void doubleSpaces(); // menu item "double"
    void acc();
    void ouvrir();
    void imprimer();
    void Command4Click(); // Vérifier la vitesse

private:
    // L(n) and F(n) of the presets: the count written into Text3 or Text6, then the generator reads it back.
    void letters(int count);
    void figures(int count);
    // One write of the exercise text per call.
    TextSink appender();

    AppContext& m_ctx;
};
