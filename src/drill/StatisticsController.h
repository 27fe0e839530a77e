#pragma once

#include "playback/PlaybackEvents.h"

class ExerciseText;
class QListWidget;

// "Stats": how often each character occurs in the exercise text, in List1; rebuilt when the user starts a playback
// and for every typed character played.
class StatisticsController : public PlaybackListener
{
public:
    StatisticsController(QListWidget* List1, const ExerciseText& exercise);

    void Command12Click();
    void playbackStarted(PlaybackStart start) override;

private:
    QListWidget* m_list;
    const ExerciseText& m_exercise;
};
