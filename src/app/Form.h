#pragma once

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QMenu;
class QPushButton;
class QScrollBar;
class QPlainTextEdit;
class PlayerView;
class QTimer;
class QWidget;

// The controls of the main window, each with its name as object name. Built by the window, which hands each
// controller the few it uses.
struct Form
{
    QMainWindow* window = nullptr;
    QWidget* central = nullptr;
    QWidget* exerciseView = nullptr; // holds the exercise view's controls; hidden while a panel covers it

    // Menu bar
    QMenu* fichier = nullptr;
    QAction* ouvrir = nullptr;
    QAction* entr = nullptr;
    QAction* imprimer = nullptr;
    QAction* quit = nullptr;
    QAction* afff = nullptr;
    QMenu* gpa = nullptr;
    QAction* ex1 = nullptr;
    QAction* EX2 = nullptr;
    QAction* diag = nullptr;
    QAction* melange = nullptr;
    QAction* indicatifs = nullptr;
    QMenu* textes = nullptr; // French texts: a contact, words, plain language, the full exam
    QAction* qso = nullptr;
    QAction* mots = nullptr;
    QAction* clair = nullptr;
    QAction* examenComplet = nullptr;
    QAction* appris = nullptr; // checkable: the texts keep to the characters of TEXT1
    QMenu* act = nullptr;
    QAction* inv = nullptr;
    QAction* doubleSpaces = nullptr; // object name "double"
    QAction* acc = nullptr;
    QAction* Clavier = nullptr;
    QMenu* entrainement = nullptr; // the program's additions: marking, progress, conditions...
    QMenu* appp = nullptr;
    QAction* aide = nullptr;
    QAction* apropos = nullptr;

    // Exercise view
    QComboBox* TEXT1 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text6 = nullptr;
    QLineEdit* Text7 = nullptr;
    QPushButton* Command5 = nullptr; // LETTRES
    QPushButton* Command6 = nullptr; // CHIFFRES
    QPushButton* Command8 = nullptr; // DIV
    QPushButton* Command7 = nullptr; // CLS
    QLabel* Label2 = nullptr;
    QLineEdit* Text11 = nullptr;
    QCheckBox* Check2 = nullptr;      // Cache
    QLineEdit* Text14 = nullptr;      // total time
    QLineEdit* Text25 = nullptr;      // count-down; visible = something is playing
    QPushButton* Command3 = nullptr;  // Préparer La Musique
    PlayerView* MMControl1 = nullptr; // the player's buttons
    QLabel* Label4 = nullptr;         // "Renforce le caractére :"
    QLineEdit* Text12 = nullptr;
    QPlainTextEdit* Text5 = nullptr;
    QPlainTextEdit* Text2 = nullptr; // shows the exercise text; the text itself lives in ExerciseText
    QLabel* Label20 = nullptr;       // "Frappe clavier"
    QLineEdit* Text26 = nullptr;
    QPushButton* Command12 = nullptr; // Stats
    QListWidget* List1 = nullptr;
    QPushButton* Command10 = nullptr; // hidden: next drill character
    QPushButton* Command15 = nullptr; // hidden: transmitter on
    QPushButton* Command16 = nullptr; // hidden: transmitter off
    QTimer* Timer1 = nullptr;         // 500 ms, blinking
    QTimer* Timer2 = nullptr;         // 100 ms, typed characters
    QTimer* Timer3 = nullptr;         // 10 ms, drill counter

    // Settings panel "Réglages de base"
    QGroupBox* Frame1 = nullptr;
    QComboBox* Text20 = nullptr; // reference word
    QComboBox* Combo1 = nullptr; // speed, wpm
    QLineEdit* Text21 = nullptr; // espa
    QLineEdit* Text22 = nullptr; // espb
    QComboBox* Text23 = nullptr; // espc
    QLineEdit* Text24 = nullptr; // dash length
    QComboBox* Texte = nullptr;  // supl
    QLineEdit* TP = nullptr;     // dot length, ms
    QLineEdit* Text9 = nullptr;  // start marks
    QLineEdit* Text4 = nullptr;  // end marks
    QLineEdit* Text8 = nullptr;  // DIV set
    QLineEdit* Text15 = nullptr; // serial port number
    QCheckBox* CK = nullptr;     // push-to-talk
    QScrollBar* HScroll4 = nullptr;
    QScrollBar* vol = nullptr;
    QPushButton* Command1 = nullptr;  // tone test
    QPushButton* Command4 = nullptr;  // speed check
    QPushButton* Command23 = nullptr; // R.A.Z.
    QPushButton* Command24 = nullptr; // SAUVE
    QPushButton* Command25 = nullptr; // EXERCICES / OK
    QLabel* Image1 = nullptr;
    QListWidget* List2 = nullptr; // sign file lines
    QLabel* Label5 = nullptr;
    QLabel* Label3 = nullptr;

    // Drill panel
    QGroupBox* Frame2 = nullptr;
    QLabel* Label18 = nullptr;   // MAX = ...Ms
    QLabel* Label19 = nullptr;   // the character drilled
    QLineEdit* Text27 = nullptr; // running time, ms
    QLineEdit* Text17 = nullptr; // the answer
    QLabel* Label21 = nullptr;
    QComboBox* Combo2 = nullptr;      // ranked results
    QPushButton* Command11 = nullptr; // Fin
};
