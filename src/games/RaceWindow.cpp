#include "games/RaceWindow.h"

#include "common/Named.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

RaceWindow::RaceWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(u"Course aux indicatifs"_s);
    startSpeed = Named(new QSpinBox, u"vitesseDepart"_s);
    startSpeed->setRange(10, 400);
    startSpeed->setSingleStep(10);
    startSpeed->setSuffix(u"\u00A0car./min"_s);
    variableTone = Named(new QCheckBox(u"&Tonalité variable"_s), u"tonaliteVariable"_s);
    spokenAnswer = Named(new QCheckBox(u"Réponse &parlée"_s), u"reponseParlee"_s);
    chooseFile = Named(new QPushButton(u"&Fichier d'indicatifs..."_s), u"fichierIndicatifs"_s);
    fileLabel = Named(new QLabel(u"Indicatifs tirés au hasard"_s), u"fichierChoisi"_s);
    start = Named(new QPushButton(u"&Départ"_s), u"depart"_s);
    progress = Named(new QLabel, u"avancement"_s);
    answer = Named(new QLineEdit, u"reponse"_s);
    answer->setAccessibleName(u"Indicatif entendu"_s);
    repeat = Named(new QPushButton(u"Réécouter (F6)"_s), u"reecouter"_s);
    best = Named(new QListWidget, u"meilleurs"_s);
    best->setAccessibleName(u"Meilleurs scores"_s);
    summary = Named(new QPlainTextEdit, u"bilan"_s);
    summary->setAccessibleName(u"Bilan de la course"_s);
    summary->setReadOnly(true);

    auto* settings = new QFormLayout;
    settings->addRow(u"Vitesse de départ\u202F:"_s, startSpeed);
    settings->addRow(variableTone);
    settings->addRow(spokenAnswer);
    settings->addRow(chooseFile, fileLabel);
    auto* answering = new QHBoxLayout;
    answering->addWidget(answer, 1);
    answering->addWidget(repeat);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addWidget(start);
    layout->addWidget(progress);
    layout->addLayout(answering);
    layout->addWidget(new QLabel(u"Meilleurs scores\u202F:"_s));
    layout->addWidget(best);
    layout->addWidget(summary, 1);

    auto* f6 = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(f6, &QShortcut::activated, this, &RaceWindow::repeatAsked);
    connect(repeat, &QPushButton::clicked, this, &RaceWindow::repeatAsked);
    resize(420, 520);
}

void RaceWindow::closeEvent(QCloseEvent* event)
{
    emit closed();
    event->accept();
}
