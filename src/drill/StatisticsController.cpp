#include "drill/StatisticsController.h"

#include "drill/Statistics.h"
#include "exercise/ExerciseText.h"

#include <QListWidget>

StatisticsController::StatisticsController(QListWidget* List1, const ExerciseText& exercise)
    : m_list(List1), m_exercise(exercise)
{}

void StatisticsController::Command12Click()
{
    // The items come already in plain text order (code-point order, so "1000=a" before "200=b"); the widget's own
    // sorting would use the locale's collation instead.
    m_list->setSortingEnabled(false);
    m_list->clear();
    m_list->addItems(CharacterStatistics(m_exercise.text()));
}

void StatisticsController::playbackStarted(PlaybackStart start)
{
    if (start == PlaybackStart::PlayButton || start == PlaybackStart::TypedCharacter)
        Command12Click();
}
