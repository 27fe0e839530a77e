#pragma once

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
    AppContext& m_ctx;
};
