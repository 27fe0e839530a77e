#include "app/Views.h"

#include "about/Pictures.h"
#include "app/Layout.h"
#include "exercise/ExerciseTextView.h"
#include "parameters/Parameters.h"
#include "sound/PlayerView.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <functional>

namespace {

const QColor kDarkGreen(0, 128, 0);

// Runs `dress` when `panel` is first shown: what only the panel's own pictures and colours need is not made before the
// window's first paint, while the panel is hidden.
class DressOnFirstShow : public QObject
{
public:
    DressOnFirstShow(QWidget* panel, std::function<void()> dress) : QObject(panel), m_dress(std::move(dress))
    {
        panel->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            m_dress();
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_dress;
};

// A control placed at a position in twips, named after itself.
template <typename W> W* place(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
    return w;
}

// The same in pixels, for the panels whose inner layout is ours.
template <typename W> W* placePx(QWidget* parent, const char* name, int x, int y, int width, int height)
{
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(x, y, width, height);
    return w;
}

QLabel* labelPx(QWidget* parent, const QString& text, int x, int y, int width, int height = 18,
                const char* name = nullptr)
{
    auto* l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(x, y, width, height);
    return l;
}

void setTextColor(QWidget* w, const QColor& color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Text, color);
    p.setColor(QPalette::WindowText, color);
    w->setPalette(p);
}

QFont courierBold(int pixelSize)
{
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setBold(true);
    f.setPixelSize(pixelSize);
    return f;
}

QFont courier()
{
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setPointSize(9);
    return f;
}

// The current item of an editable list is the one its text names, none when the text is no item, so that the
// opened list and the Up and Down keys start from what the field shows. The text stays as typed, cursor included.
void followText(QComboBox* c, const QString& text)
{
    const int item = c->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (item == c->currentIndex())
        return;
    if (item >= 0) {
        c->setCurrentIndex(item); // the same text: the field is left alone
        return;
    }
    // No current item empties the field: it gets its text back without a word to anyone.
    QLineEdit* field = c->lineEdit();
    const int cursor = field->cursorPosition();
    const QSignalBlocker quietList(c);
    const QSignalBlocker quietField(field);
    c->setCurrentIndex(-1);
    field->setText(text);
    field->setCursorPosition(cursor);
}

// An editable list whose text is what the user typed: no completion from the items ("1" stays "1", not "10"). Its
// field comes with a completer of its own, dropped at once, so that the list does not build one over its items only
// to drop it, nor its drop-down before it is first opened: most of what making a list editable costs.
void makeEditable(QComboBox* c)
{
    auto* field = new QLineEdit(c);
    field->setPalette(c->palette());
    field->setCompleter(new QCompleter(field));
    c->setLineEdit(field);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
    QObject::connect(c, &QComboBox::editTextChanged, c, [c](const QString& text) { followText(c, text); });
}

QComboBox* editableCombo(QWidget* parent, const char* name, int x, int y, int width)
{
    auto* c = placePx<QComboBox>(parent, name, x, y, width, 20);
    makeEditable(c);
    return c;
}

// What a screen reader says of a control: its name (from the label beside it, its caption or its tooltip) and,
// where that does not say everything, a description. Captions, tooltips and object names stay as they are.
struct Spoken
{
    QWidget* control;
    const char16_t* name;        // empty: the caption says it
    const char16_t* description; // empty: the tooltip, if any, says it
};

void speak(std::initializer_list<Spoken> controls)
{
    for (const Spoken& s : controls) {
        if (*s.name)
            s.control->setAccessibleName(QString::fromUtf16(s.name));
        // The editor inside an editable list is read on its own: it bears the list's name.
        if (auto* list = qobject_cast<QComboBox*>(s.control); list && list->lineEdit())
            list->lineEdit()->setAccessibleName(list->accessibleName());
        // A scroll bar says what it scrolls.
        if (auto* area = qobject_cast<QAbstractScrollArea*>(s.control); area && *s.name) {
            for (QScrollBar* bar : {area->verticalScrollBar(), area->horizontalScrollBar()})
                bar->setAccessibleName(u"Défilement\u00a0: " + QString::fromUtf16(s.name));
        }
        if (*s.description)
            s.control->setAccessibleDescription(QString::fromUtf16(s.description));
    }
}

// Tab goes through the controls in this order, the order in which they are read on the screen; a group of controls
// that takes no focus itself (the player) stands for its own controls, in their order.
void tabOrder(std::initializer_list<QWidget*> controls)
{
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        QList<QWidget*> stops{control};
        if (!(control->focusPolicy() & Qt::TabFocus))
            stops = control->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* w : stops) {
            if (!(w->focusPolicy() & Qt::TabFocus))
                continue;
            if (previous)
                QWidget::setTabOrder(previous, w);
            previous = w;
        }
    }
}

} // namespace

namespace {

// The settings panel's columns, in pixels: the timing fields, the tone (wide enough for the test button's longest
// caption, 2000 Hz at volume 127) and the sign file.
constexpr int fieldX = 196, fieldW = 74;
constexpr int toneX = 278, toneW = 176, signsX = 460, signsW = 82;

void buildGroupRows(Form& ui)
{
    QWidget* c = ui.exerciseView;
    ui.TEXT1 = place<QComboBox>(c, "TEXT1", 36, 36, 8100, 315);
    makeEditable(ui.TEXT1);
    ui.TEXT1->setToolTip(QStringLiteral("caracteres utilisés pour les generations de groupes aléatoires"));

    const QString groupsTip = QStringLiteral("Nb de groupes de 5");
    ui.Text3 = place<QLineEdit>(c, "Text3", 36, 468, 500, 300);
    ui.Text3->setText(QStringLiteral("4"));
    ui.Text6 = place<QLineEdit>(c, "Text6", 36, 828, 500, 300);
    ui.Text6->setText(QStringLiteral("1"));
    ui.Text7 = place<QLineEdit>(c, "Text7", 36, 1188, 500, 300);
    ui.Text7->setText(QStringLiteral("1"));
    for (QLineEdit* count : {ui.Text3, ui.Text6, ui.Text7})
        count->setToolTip(groupsTip);

    ui.Command5 = place<QPushButton>(c, "Command5", 576, 468, 1000, 300);
    ui.Command5->setText(QStringLiteral("LETTRES"));
    ui.Command6 = place<QPushButton>(c, "Command6", 576, 828, 1000, 300);
    ui.Command6->setText(QStringLiteral("CHIFFRES"));
    ui.Command8 = place<QPushButton>(c, "Command8", 576, 1188, 1000, 300);
    ui.Command8->setText(QStringLiteral("DIV"));
    ui.Command7 = place<QPushButton>(c, "Command7", 1656, 828, 700, 300);
    ui.Command7->setText(QStringLiteral("CLS"));
    ui.Command7->setToolTip(QStringLiteral("Efface le texte "));
}

void buildFileAndSoundRow(Form& ui)
{
    QWidget* c = ui.exerciseView;
    ui.Label2 = place<QLabel>(c, "Label2", 2200, 500, 2260, 260);
    ui.Label2->setText(QStringLiteral("Fichier .Wav et .Txt géneré :"));
    ui.Text11 = place<QLineEdit>(c, "Text11", 4470, 468, 900, 300);
    ui.Text11->setText(QStringLiteral("TEST"));
    ui.Check2 = place<QCheckBox>(c, "Check2", 7100, 468, 1000, 300);
    ui.Check2->setText(QStringLiteral("Cache"));

    ui.Text14 = place<QLineEdit>(c, "Text14", 2808, 756, 1500, 300);
    ui.Text14->setToolTip(QStringLiteral("Temps total de l'exercice"));
    ui.Text14->setReadOnly(true);
    ui.Text14->hide();
    ui.Text25 = place<QLineEdit>(c, "Text25", 2808, 756, 1500, 300);
    ui.Text25->setToolTip(QStringLiteral("Temps total de l'exercice"));
    ui.Text25->setReadOnly(true);
    ui.Text25->hide();

    ui.Command3 = place<QPushButton>(c, "Command3", 1620, 1188, 1950, 300);
    ui.Command3->setText(QStringLiteral("Préparer La Musique"));

    ui.Label4 = place<QLabel>(c, "Label4", 5520, 1220, 1700, 260);
    ui.Label4->setText(QStringLiteral("Renforce le caractére :"));
    ui.Text12 = place<QLineEdit>(c, "Text12", 7250, 1188, 400, 300);

    ui.Label20 = place<QLabel>(c, "Label20", 5508, 612, 1500, 240);
    ui.Label20->setText(QStringLiteral("Frappe clavier"));
    ui.Text26 = place<QLineEdit>(c, "Text26", 5472, 864, 2604, 300);

    // The player stands where "Préparer La Musique" is.
    ui.MMControl1 = new PlayerView(c);
    ui.MMControl1->setGeometry(QRect(ui.Command3->pos(), ui.MMControl1->size()));
    ui.MMControl1->hide();
}

void buildExerciseText(Form& ui)
{
    QWidget* c = ui.exerciseView;
    // The exercise text wraps after exactly 36 characters (six groups of five and their spaces) whatever the
    // font's metrics: a fixed column width, in the same fixed-pitch bold font as the margin that numbers its lines.
    // Its own glyphs only: a character the font lacks (the invisible joiner that keeps a call sign on one line among
    // them) would otherwise bring in a fallback font and make its lines taller than the margin's.
    QFont exerciseFont = courierBold(21);
    exerciseFont.setStyleStrategy(QFont::NoFontMerging);
    ui.Text5 = new ExerciseTextView(2, c);
    ui.Text2 = new ExerciseTextView(36, c);
    for (auto [view, name, left, width] :
         {std::tuple{ui.Text5, "Text5", 36, 612}, std::tuple{ui.Text2, "Text2", 648, 7524}}) {
        view->setObjectName(QString::fromLatin1(name));
        view->setFont(exerciseFont);
        view->setGeometry(Twips(left), Twips(1584), Twips(width), Twips(3228));
    }
    ui.Text5->setReadOnly(true);
    ui.Text5->setFocusPolicy(Qt::NoFocus);
    ui.Text5->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui.Text5->setPlainText(QStringLiteral("01\n07\n13\n19\n25\n31\n37"));
    ui.Text2->setTabChangesFocus(true);

    ui.Command12 = place<QPushButton>(c, "Command12", 8280, 288, 696, 228);
    ui.Command12->setText(QStringLiteral("Stats"));
    ui.List1 = place<QListWidget>(c, "List1", 8244, 540, 804, 4155);
}

void buildHiddenOperations(Form& ui, QObject* timerOwner)
{
    QWidget* c = ui.exerciseView;
    // Operations reached by other handlers only.
    for (auto [field, name, caption] :
         {std::tuple{&ui.Command10, "Command10", "Command10"}, std::tuple{&ui.Command15, "Command15", "tx"},
          std::tuple{&ui.Command16, "Command16", "rx"}}) {
        *field = place<QPushButton>(c, name, 0, 0, 600, 300);
        (*field)->setText(QString::fromLatin1(caption));
        (*field)->hide();
    }

    auto timer = [timerOwner](const char* name, int ms) {
        auto* t = new QTimer(timerOwner);
        t->setObjectName(QString::fromLatin1(name));
        t->setInterval(ms);
        return t;
    };
    ui.Timer1 = timer("Timer1", 500);
    ui.Timer2 = timer("Timer2", 100);
    ui.Timer3 = timer("Timer3", 10);
}

void buildTimingFields(Form& ui)
{
    QWidget* f = ui.Frame1;
    // Timing fields, label on the left, field on the right.
    auto row = [&](const QString& text, int y) { labelPx(f, text, 8, y + 1, fieldX - 12); };

    row(QStringLiteral("Mot référence pour les calculs"), 18);
    ui.Text20 = editableCombo(f, "Text20", fieldX, 18, fieldW);
    row(QStringLiteral("Vitesse en mots par minutes"), 40);
    ui.Combo1 = editableCombo(f, "Combo1", fieldX, 40, fieldW);
    ui.Combo1->setToolTip(QStringLiteral("Vitesse en mots par minutes"));
    ui.Combo1->setEditText(QStringLiteral("Combo1"));
    row(QStringLiteral("Espace en points entre signes"), 62);
    ui.Text21 = placePx<QLineEdit>(f, "Text21", fieldX, 62, fieldW, 20);
    ui.Text21->setToolTip(QStringLiteral("Nb de points entre 2 signe d'un meme caractere"));
    row(QStringLiteral("Espace en points entre caractères"), 84);
    ui.Text22 = placePx<QLineEdit>(f, "Text22", fieldX, 84, fieldW, 20);
    ui.Text22->setToolTip(QStringLiteral("Nb de points entre 2 caracteres"));
    row(QStringLiteral("Espace en points entre mots"), 106);
    ui.Text23 = editableCombo(f, "Text23", fieldX, 106, fieldW);
    row(QStringLiteral("Temps en points du trait"), 128);
    ui.Text24 = placePx<QLineEdit>(f, "Text24", fieldX, 128, fieldW, 20);
    ui.Text24->setToolTip(QStringLiteral("valeur du trait par rapport au point"));
    row(QStringLiteral("Temps de réflexion suplémentaire "), 150);
    ui.Texte = editableCombo(f, "Texte", fieldX, 150, fieldW);
    row(QStringLiteral("Temps du Point en Ms :"), 172);
    ui.TP = placePx<QLineEdit>(f, "TP", 136, 172, 134, 20);
    ui.TP->setToolTip(QStringLiteral("temps d'un point modulé en ms "));
    for (QWidget* w : std::initializer_list<QWidget*>{ui.Text20, ui.Combo1, ui.Text21, ui.Text22, ui.Text23, ui.Text24})
        setTextColor(w, kDarkGreen);
    setTextColor(ui.TP, Qt::red);
    setTextColor(ui.Texte, Qt::red);
}

void buildMarksAndKeying(Form& ui)
{
    QWidget* f = ui.Frame1;
    // Marks, DIV set, push-to-talk.
    labelPx(f, QStringLiteral("Début d'exercice"), 8, 199, 90);
    ui.Text9 = placePx<QLineEdit>(f, "Text9", 96, 198, 50, 20);
    ui.Text9->setToolTip(QStringLiteral("Caractères indiquant le début de l'exercice"));
    labelPx(f, QStringLiteral("Fin d'exercice"), 156, 199, 74);
    ui.Text4 = placePx<QLineEdit>(f, "Text4", 230, 198, 40, 20);
    ui.Text4->setToolTip(QStringLiteral("Caractères indiquant la fin de l'exercice"));
    labelPx(f, QStringLiteral("Jeux de caractères utilisé par le boutton  DIV"), 8, 222, 262);
    ui.Text8 = placePx<QLineEdit>(f, "Text8", 8, 240, 262, 20);
    for (QLineEdit* e : {ui.Text9, ui.Text4, ui.Text8})
        e->setFont(courier());
    ui.CK = placePx<QCheckBox>(f, "CK", 8, 266, 196, 20);
    ui.CK->setText(QStringLiteral("Activation du PTT par le COM : "));
    ui.CK->setToolTip(QStringLiteral("Permet la difusion de l'exercice sur l'air (Phonie seulement) "));
    ui.Text15 = placePx<QLineEdit>(f, "Text15", 206, 266, 30, 20);
    ui.Text15->setToolTip(QStringLiteral("Numéro du port série à activer (1 à 9)"));
}

void buildSettingsButtons(Form& ui)
{
    QWidget* f = ui.Frame1;
    // Buttons along the bottom.
    ui.Command23 = placePx<QPushButton>(f, "Command23", 8, 292, 84, 22);
    ui.Command23->setText(QStringLiteral("R.A.Z."));
    ui.Command23->setToolTip(QStringLiteral("Toutes les valeures, Comme à l'examen !!! Hi"));
    ui.Command24 = placePx<QPushButton>(f, "Command24", 98, 292, 84, 22);
    ui.Command24->setText(QStringLiteral("SAUVE"));
    ui.Command24->setToolTip(QStringLiteral("Sauvegarde les paramètres (reprise au prochain démarage)"));
    ui.Command25 = placePx<QPushButton>(f, "Command25", 188, 292, 84, 22);
    ui.Command25->setText(QStringLiteral("EXERCICES"));
    ui.Command25->setToolTip(QStringLiteral("Utilisation des  paramètres actuels sans sauvegarde"));
}

void buildToneColumn(Form& ui)
{
    QWidget* f = ui.Frame1;
    // Tone. The column is wide enough for the test button's longest caption (2000 Hz, volume 127).
    labelPx(f, QStringLiteral("Fréquence"), toneX, 18, 120);
    ui.HScroll4 = placePx<QScrollBar>(f, "HScroll4", toneX, 36, toneW, 17);
    ui.HScroll4->setOrientation(Qt::Horizontal);
    ui.HScroll4->setRange(Parameters::ToneMin, Parameters::ToneMax);
    ui.HScroll4->setSingleStep(10);
    ui.HScroll4->setPageStep(50);
    labelPx(f, QStringLiteral("Volume"), toneX, 58, 120);
    ui.vol = placePx<QScrollBar>(f, "vol", toneX, 76, toneW, 17);
    ui.vol->setOrientation(Qt::Horizontal);
    ui.vol->setRange(Parameters::VolumeMin, Parameters::VolumeMax);
    ui.vol->setSingleStep(1);
    ui.vol->setPageStep(10);
    ui.Command1 = placePx<QPushButton>(f, "Command1", toneX, 100, toneW, 22);
    ui.Command1->setText(QStringLiteral("Test de la tonalité"));
    ui.Command1->setToolTip(QStringLiteral("Cliquez ici pour vérifier la tonalité et le volume"));
    ui.Command4 = placePx<QPushButton>(f, "Command4", toneX, 128, toneW, 22);
    ui.Command4->setText(QStringLiteral("Vérifier la vitesse"));
    ui.Image1 = placePx<QLabel>(f, "Image1", toneX, 160, toneW, 150);
    ui.Image1->setAlignment(Qt::AlignCenter);
}

void buildSignColumn(Form& ui)
{
    QWidget* f = ui.Frame1;
    // The sign file as it was read.
    ui.Label5 = placePx<QLabel>(f, "Label5", signsX, 18, signsW, 18);
    ui.Label5->setText(QStringLiteral("telkey.ref"));
    ui.List2 = placePx<QListWidget>(f, "List2", signsX, 36, signsW, 254);
    ui.List2->setFont(courier());
    ui.List2->setToolTip(
        QStringLiteral("Réference des signes (fichier texte modifiable sortez du programme pour le modifier)"));
    ui.Label3 = placePx<QLabel>(f, "Label3", signsX, 294, signsW, 18);
    ui.Label3->setText(QStringLiteral("< AS  * VA"));
}

} // namespace

void BuildMenus(QMainWindow& window, Form& ui)
{
    QMenuBar* bar = window.menuBar();
    auto item = [&window](QMenu* menu, const char* name, const QString& caption) {
        auto* a = new QAction(caption, &window);
        a->setObjectName(QString::fromLatin1(name));
        menu->addAction(a);
        return a;
    };
    auto menu = [bar](const char* name, const QString& caption) {
        auto* m = bar->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Menu"));
        return m;
    };
    auto command = [&window, bar](const char* name, const QString& caption) {
        auto* a = new QAction(caption, &window);
        a->setObjectName(QString::fromLatin1(name));
        bar->addAction(a);
        return a;
    };

    ui.fichier = menu("fichier", QStringLiteral("&Fichier"));
    ui.ouvrir = item(ui.fichier, "ouvrir", QStringLiteral("&Ouvrir"));
    ui.entr = item(ui.fichier, "entr", QStringLiteral("&Enregistrer"));
    ui.entr->setEnabled(false);
    ui.imprimer = item(ui.fichier, "imprimer", QStringLiteral("&Imprimer"));
    ui.quit = item(ui.fichier, "quit", QStringLiteral("&Quitter"));
    ui.afff = command("afff", QStringLiteral("&Paramètrage"));
    ui.gpa = menu("gpa", QStringLiteral("&Groupes aléatoire"));
    ui.ex1 = item(ui.gpa, "ex1", QStringLiteral("Style examen 30 + 6"));
    ui.EX2 = item(ui.gpa, "EX2", QStringLiteral("&Alterner 5 lettres 1 chiffres"));
    ui.diag = item(ui.gpa, "diag", QStringLiteral("&Chiffres en diagonale"));
    ui.melange = item(ui.gpa, "melange", QStringLiteral("&Tout Mélanger"));
    ui.indicatifs = item(ui.gpa, "indicatifs", QStringLiteral("&Indicatifs"));
    ui.textes = menu("textes", QStringLiteral("&Textes"));
    ui.qso = item(ui.textes, "qso", QStringLiteral("&QSO"));
    ui.mots = item(ui.textes, "mots", QStringLiteral("&Mots"));
    ui.clair = item(ui.textes, "clair", QStringLiteral("&Texte en clair"));
    ui.examenComplet = item(ui.textes, "examenComplet", QStringLiteral("Examen &complet"));
    ui.textes->addSeparator();
    ui.appris = item(ui.textes, "appris", QStringLiteral("Seulement les caractères appris"));
    ui.appris->setCheckable(true);
    ui.appris->setToolTip(QStringLiteral("Les textes n'emploient que les caractères de la liste du haut"));
    ui.textes->setToolTipsVisible(true);
    ui.act = menu("act", QStringLiteral("&Actions"));
    ui.inv = item(ui.act, "inv", QStringLiteral("&Inverser le Texte"));
    ui.doubleSpaces = item(ui.act, "double", QStringLiteral("&Doubler les espaces"));
    ui.acc = item(ui.act, "acc", QStringLiteral("&Retirer les accents du texte"));
    ui.Clavier = command("Clavier", QStringLiteral("Clavier"));
    // The program's own additions, between the drill and "?"; their items are built by the windows they open.
    ui.entrainement = menu("entrainement", QStringLiteral("&Entraînement"));
    ui.entrainement->setToolTipsVisible(true);
    ui.appp = menu("appp", QStringLiteral("?"));
    ui.aide = item(ui.appp, "aide", QStringLiteral("Aide"));
    ui.aide->setEnabled(false);
    ui.apropos = item(ui.appp, "apropos", QStringLiteral("A &Propos"));
    // The button that opens the menus a narrow window cannot show.
    if (auto* more = bar->findChild<QWidget*>(QStringLiteral("qt_menubar_ext_button")))
        more->setAccessibleName(QStringLiteral("Autres menus"));
}

namespace {

void describeExerciseView(Form& ui)
{
    speak({
        {ui.TEXT1, u"Caractères utilisés pour les groupes aléatoires", u""},
        {ui.Text3, u"Nombre de groupes de 5, LETTRES", u""},
        {ui.Text6, u"Nombre de groupes de 5, CHIFFRES", u""},
        {ui.Text7, u"Nombre de groupes de 5, DIV", u""},
        {ui.Command5, u"", u"Ajoute au texte des groupes de lettres tirées des caractères utilisés"},
        {ui.Command6, u"", u"Ajoute au texte des groupes de chiffres tirés des caractères utilisés"},
        {ui.Command8, u"", u"Ajoute au texte des groupes tirés du jeu de caractères de DIV"},
        {ui.Command7, u"", u""},
        {ui.Text11, u"Fichier .Wav et .Txt géneré", u""},
        {ui.Check2, u"", u"Cache le texte de l'exercice en réduisant la fenêtre"},
        {ui.Text14, u"Temps total de l'exercice", u""},
        {ui.Text25, u"Temps restant", u"Décompte du temps restant pendant la lecture"},
        {ui.Command3, u"", u"Prépare le son de l'exercice, à écouter ensuite avec le bouton Lecture"},
        {ui.Text12, u"Renforce le caractére", u""},
        {ui.Text26, u"Frappe clavier", u"Chaque caractère tapé ici est joué en Morse"},
        {ui.Text2, u"Texte de l'exercice", u""},
        {ui.Text5, u"Numéros des groupes", u""},
        {ui.Command12, u"", u"Compte les caractères de l'exercice"},
        {ui.List1, u"Statistiques des caractères", u""},
    });
    tabOrder({ui.TEXT1, ui.Text3, ui.Command5, ui.Text11, ui.Check2, ui.Text6, ui.Command6, ui.Command7, ui.Text14,
              ui.Text25, ui.Text26, ui.Text7, ui.Command8, ui.Command3, ui.MMControl1, ui.Text12, ui.Text2,
              ui.Command12, ui.List1});
}

} // namespace

void BuildExerciseView(Form& ui, QObject* timerOwner)
{
    // Big enough for every control; the window clips it.
    ui.exerciseView = new QWidget(ui.central);
    ui.exerciseView->setObjectName(QStringLiteral("exerciseView"));
    ui.exerciseView->setGeometry(0, 0, Twips(9200), Twips(5000));
    buildGroupRows(ui);
    buildFileAndSoundRow(ui);
    buildExerciseText(ui);
    buildHiddenOperations(ui, timerOwner);
    describeExerciseView(ui);
}

void BuildSettingsPanel(Form& ui)
{
    ui.Frame1 = new QGroupBox(QStringLiteral("Réglages de base"), ui.central);
    ui.Frame1->setObjectName(QStringLiteral("Frame1"));
    ui.Frame1->setAutoFillBackground(true);
    ui.Frame1->setGeometry(0, 0, Twips(WindowSize::Width), Twips(WindowSize::SettingsHeight));
    ui.Frame1->hide();
    buildTimingFields(ui);
    buildMarksAndKeying(ui);
    buildSettingsButtons(ui);
    buildToneColumn(ui);
    buildSignColumn(ui);
    // The key's picture and the sign list's colours, when the panel is first shown (a style sheet's first use
    // costs as much as drawing the picture).
    new DressOnFirstShow(ui.Frame1, [image = ui.Image1, list = ui.List2] {
        image->setPixmap(KeyPicture(120));
        list->setStyleSheet(QStringLiteral("QListWidget { color: yellow; background-color: #404040; }"));
    });
    speak({
        {ui.Text20, u"Mot référence pour les calculs", u""},
        {ui.Combo1, u"Vitesse en mots par minutes", u""},
        {ui.Text21, u"Espace en points entre signes", u""},
        {ui.Text22, u"Espace en points entre caractères", u""},
        {ui.Text23, u"Espace en points entre mots", u""},
        {ui.Text24, u"Temps en points du trait", u""},
        {ui.Texte, u"Temps de réflexion suplémentaire", u""},
        {ui.TP, u"Temps du Point en Ms", u""},
        {ui.Text9, u"Début d'exercice", u""},
        {ui.Text4, u"Fin d'exercice", u""},
        {ui.Text8, u"Jeux de caractères utilisé par le boutton DIV", u""},
        {ui.Text15, u"Numéro du port série", u""},
        {ui.HScroll4, u"Fréquence", u"Fréquence de la tonalité, de 300 à 2000\u202FHz"},
        {ui.vol, u"Volume", u"Volume de la tonalité, de 1 à 127"},
        // The caption blinks between "OK" and nothing.
        {ui.Command25, u"EXERCICES", u""},
        {ui.List2, u"Réference des signes, telkey.ref", u""},
        {ui.Image1, u"Manipulateur Morse", u""},
    });
}

void BuildDrillPanel(Form& ui)
{
    ui.Frame2 = new QGroupBox(QStringLiteral("Frame2"), ui.central);
    ui.Frame2->setObjectName(QStringLiteral("Frame2"));
    ui.Frame2->setAutoFillBackground(true);
    // Covers everything the compact window still shows.
    ui.Frame2->setGeometry(0, 0, Twips(WindowSize::Width), Twips(WindowSize::CacheHeight));
    ui.Frame2->hide();
    QWidget* f = ui.Frame2;

    ui.Label19 = placePx<QLabel>(f, "Label19", 10, 22, 48, 48);
    ui.Label19->setFont(courierBold(36));
    ui.Label19->setAlignment(Qt::AlignCenter);
    ui.Label18 = placePx<QLabel>(f, "Label18", 70, 20, 130, 18);
    ui.Label18->setText(QStringLiteral("Ms"));
    ui.Text27 = placePx<QLineEdit>(f, "Text27", 70, 40, 60, 22);
    ui.Text27->setReadOnly(true);
    ui.Text27->setFocusPolicy(Qt::NoFocus);
    ui.Text17 = placePx<QLineEdit>(f, "Text17", 140, 40, 60, 22);
    ui.Text17->setFont(courierBold(16));
    ui.Label21 = placePx<QLabel>(f, "Label21", 214, 20, 200, 18);
    ui.Label21->setText(QStringLiteral("Classement par temps en Ms"));
    ui.Combo2 = placePx<QComboBox>(f, "Combo2", 214, 40, 200, 22);
    ui.Combo2->setPlaceholderText(QStringLiteral("Résultats"));
    ui.Command11 = placePx<QPushButton>(f, "Command11", 428, 40, 80, 22);
    ui.Command11->setText(QStringLiteral("Fin"));
    // Label19 keeps its text as its name, so that each new character is told as it appears.
    speak({
        // The panel's caption is the name it had in the program's first version.
        {ui.Frame2, u"Entraînement au clavier", u""},
        {ui.Label19, u"", u"Caractère joué"},
        {ui.Text27, u"Temps de réaction en Ms", u""},
        {ui.Text17, u"Votre réponse", u"Tapez le caractère entendu"},
        {ui.Combo2, u"Classement par temps en Ms", u"Le plus lent en dernier"},
        {ui.Command11, u"", u"Termine l'entraînement au clavier"},
    });
}
