#include "sound/PlayerView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

PlayerView::PlayerView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MMControl1"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    auto makeButton = [&](const char* name, QStyle::StandardPixmap icon, const QString& tip) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setIcon(style()->standardIcon(icon));
        button->setIconSize(QSize(14, 14));
        button->setToolTip(tip);
        button->setAccessibleName(tip); // an icon alone says nothing to a screen reader
        // Pressed, a button takes the focus: the Tab that Play sends then moves on from the player.
        button->setFocusPolicy(Qt::StrongFocus);
        button->setFixedSize(32, 20);
        row->addWidget(button);
        return button;
    };
    m_prev = makeButton("prevButton", QStyle::SP_MediaSkipBackward, QStringLiteral("Début"));
    m_play = makeButton("playButton", QStyle::SP_MediaPlay, QStringLiteral("Lecture"));
    m_stop = makeButton("stopButton", QStyle::SP_MediaStop, QStringLiteral("Arrêt"));
    m_noOutput = new QLabel(this);
    m_noOutput->setObjectName(QStringLiteral("noOutputIndicator"));
    m_noOutput->setPixmap(style()->standardIcon(QStyle::SP_MediaVolumeMuted).pixmap(12, 12));
    m_noOutput->setFixedSize(14, 20);
    m_noOutput->setToolTip(QStringLiteral("Aucune sortie audio"));
    m_noOutput->setVisible(false);
    row->addWidget(m_noOutput);
    m_conditions = new QLabel(QStringLiteral("≈"), this);
    m_conditions->setObjectName(QStringLiteral("conditionsIndicator"));
    m_conditions->setAlignment(Qt::AlignCenter);
    m_conditions->setFixedSize(12, 20);
    m_conditions->setVisible(false);
    row->addWidget(m_conditions);
    row->addStretch();
    setFixedSize(130, 20);

    connect(m_prev, &QToolButton::clicked, this, &PlayerView::prevPressed);
    connect(m_play, &QToolButton::clicked, this, &PlayerView::playPressed);
    connect(m_stop, &QToolButton::clicked, this, &PlayerView::stopPressed);
    setState(false, false);
}

void PlayerView::setState(bool open, bool playing)
{
    // Stop first: Play, disabled with the focus, hands it on to Stop, still within the player.
    m_stop->setEnabled(playing);
    m_prev->setEnabled(open);
    m_play->setEnabled(open && !playing);
    emit stateChanged(open, playing);
}

void PlayerView::setSilent(bool silent)
{
    m_noOutput->setVisible(silent);
}

void PlayerView::setConditions(const QString& summary)
{
    const QString tip = summary.isEmpty() ? QString() : u"Conditions de réception\u202F: " + summary;
    setToolTip(tip);
    m_conditions->setToolTip(tip);
    m_conditions->setVisible(!summary.isEmpty());
}

void PlayerView::pressPlay()
{
    if (m_play->isEnabled())
        m_play->setFocus(Qt::OtherFocusReason);
    m_play->click();
}

void PlayerView::pressPlayOrStop()
{
    if (m_stop->isEnabled())
        m_stop->click();
    else
        pressPlay();
}
