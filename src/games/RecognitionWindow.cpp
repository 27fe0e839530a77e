#include "games/RecognitionWindow.h"

#include "common/Named.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

RecognitionWindow::RecognitionWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(u"Reconnaissance instantanée"_s);
    speed = Named(new QSpinBox, u"vitesseCaracteres"_s);
    speed->setRange(25, 60);
    speed->setSuffix(u"\u00A0mots/min"_s);
    spokenAnswer = Named(new QCheckBox(u"Réponse &parlée"_s), u"reponseParlee"_s);
    reflex = Named(new QLabel, u"reflexe"_s);
    measure = Named(new QPushButton(u"&Mesurer le réflexe"_s), u"mesurerReflexe"_s);
    start = Named(new QPushButton(u"&Départ"_s), u"depart"_s);
    shown = Named(new QLabel, u"affiche"_s);
    shown->setAlignment(Qt::AlignCenter);
    QFont big = shown->font();
    big.setPointSize(big.pointSize() * 3);
    shown->setFont(big);
    keys = Named(new QLineEdit, u"frappe"_s);
    keys->setAccessibleName(u"Caractère reconnu"_s);
    keys->setEnabled(false);
    progress = Named(new QLabel, u"avancement"_s);
    summary = Named(new QPlainTextEdit, u"bilan"_s);
    summary->setAccessibleName(u"Bilan de la reconnaissance"_s);
    summary->setReadOnly(true);

    auto* settings = new QFormLayout;
    settings->addRow(u"Vitesse des caractères\u202F:"_s, speed);
    settings->addRow(spokenAnswer);
    auto* reflexRow = new QHBoxLayout;
    reflexRow->addWidget(reflex, 1);
    reflexRow->addWidget(measure);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addLayout(reflexRow);
    layout->addWidget(start);
    layout->addWidget(shown);
    layout->addWidget(keys);
    layout->addWidget(progress);
    layout->addWidget(summary, 1);
    resize(380, 420);
}

void RecognitionWindow::closeEvent(QCloseEvent* event)
{
    emit closed();
    event->accept();
}
