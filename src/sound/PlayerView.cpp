#include "sound/PlayerView.h"

#include "platform/AfterFirstPaint.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace {

// The style's own picture of a player's button, which it shows when the desktop's icon theme has none (the files
// of its resources); the style's icon when they are not there.
QIcon BuiltInIcon(QStyle::StandardPixmap which, const QStyle* style)
{
    const char* name = which == QStyle::SP_MediaPlay           ? "media-play"
                       : which == QStyle::SP_MediaStop         ? "media-stop"
                       : which == QStyle::SP_MediaSkipBackward ? "media-skip-backward"
                                                               : "media-volume-muted";
    QIcon icon;
    for (const char* size : {"16", "32"}) {
        const QString file = QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png")
                                 .arg(QLatin1String(name), QLatin1String(size));
        if (QFile::exists(file))
            icon.addFile(file);
    }
    return icon.isNull() ? style->standardIcon(which) : icon;
}

} // namespace

PlayerView::PlayerView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MMControl1"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    auto makeButton = [&](const char* name, QStyle::StandardPixmap icon, const QString& tip) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setIcon(BuiltInIcon(icon, style()));
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
    m_noOutput->setPixmap(BuiltInIcon(QStyle::SP_MediaVolumeMuted, style()).pixmap(12, 12));
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
    // Looking the icons up in the desktop's theme reads the theme's index (several ms): done once the window has
    // been drawn, the theme's icons then replacing the style's own pictures where it has some.
    AfterFirstPaint(this, [this] { useStyleIcons(); });
}

void PlayerView::useStyleIcons()
{
    m_prev->setIcon(style()->standardIcon(QStyle::SP_MediaSkipBackward));
    m_play->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    m_stop->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    m_noOutput->setPixmap(style()->standardIcon(QStyle::SP_MediaVolumeMuted).pixmap(12, 12));
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
