#include "training/TrainingViews.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

QFrame* buildOffer(TrainingForm& form, const QWidget* Text2)
{
    auto* offer = new QFrame(Text2->parentWidget());
    offer->setObjectName(u"offreProgression"_s);
    offer->setFrameShape(QFrame::StyledPanel);
    offer->setAutoFillBackground(true);
    QPalette palette = offer->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::ToolTipText));
    offer->setPalette(palette);
    form.offreTexte = new QLabel(offer);
    form.offreTexte->setObjectName(u"offreTexte"_s);
    form.oui = new QPushButton(u"&Oui"_s, offer);
    form.oui->setObjectName(u"offreOui"_s);
    form.plusTard = new QPushButton(u"Plus &tard"_s, offer);
    form.plusTard->setObjectName(u"offrePlusTard"_s);
    auto* row = new QHBoxLayout(offer);
    row->setContentsMargins(6, 2, 6, 2);
    row->addWidget(form.offreTexte, 1);
    row->addWidget(form.oui);
    row->addWidget(form.plusTard);
    // Over the foot of the exercise text, its scroll bar left free: six lines of six groups leave that line empty.
    const int scrollBar = Text2->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int height = offer->sizeHint().height();
    const QRect text = Text2->geometry();
    offer->setGeometry(text.left() + 1, text.bottom() - height, text.width() - scrollBar - 3, height);
    offer->hide();
    return offer;
}

} // namespace

TrainingForm BuildTrainingControls(QMenu& menu, const QLineEdit* Text12, const QWidget* Text2, QWidget* cover)
{
    TrainingForm form;
    form.exerciceCible = menu.addAction(u"Exercice ci&blé"_s);
    form.exerciceCible->setObjectName(u"exerciceCible"_s);
    form.exerciceCible->setToolTip(u"Des groupes de 5 tirés de la série de caractères, les plus faibles plus souvent "
                                   "(d'après les 30 derniers jours)"_s);

    form.suggestion = new QToolButton(Text12->parentWidget());
    form.suggestion->setObjectName(u"suggestionRenforce"_s);
    const QRect field = Text12->geometry();
    form.suggestion->setGeometry(field.right() + 3, field.top(), field.height(), field.height());
    form.suggestion->stackUnder(cover);

    form.offre = buildOffer(form, Text2);
    form.offre->stackUnder(cover);
    return form;
}
