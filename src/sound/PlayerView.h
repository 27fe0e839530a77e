#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

// MMControl1, the player's row of transport buttons (Prev, Play, Stop; about 130 x 20 px) with a small muted-speaker
// sign when there is no audio output. It only shows and reports presses: the program drives the player.
class PlayerView : public QWidget
{
    Q_OBJECT

public:
    explicit PlayerView(QWidget* parent = nullptr);

    // What can be pressed: Prev and Play with a file open, Play when not playing, Stop while playing.
    void setState(bool open, bool playing);
    void setSilent(bool silent);
    // The band conditions that are on, as the player's tooltip says them, with a small mark; none when empty.
    void setConditions(const QString& summary);
    // A press of Play from elsewhere (a key of another window): as a click, when Play can be pressed.
    void pressPlay();
    // The same key while a sound plays presses Stop.
    void pressPlayOrStop();

signals:
    void stateChanged(bool open, bool playing);
    void prevPressed();
    void playPressed();
    void stopPressed();

private:
    // The icons as the style gives them, the desktop's theme asked.
    void useStyleIcons();

    QToolButton* m_prev = nullptr;
    QToolButton* m_play = nullptr;
    QToolButton* m_stop = nullptr;
    QLabel* m_noOutput = nullptr;
    QLabel* m_conditions = nullptr;
};
