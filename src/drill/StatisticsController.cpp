#include "drill/StatisticsController.h"

#include "app/AppContext.h"
#include "drill/Statistics.h"

#include <QListWidget>

StatisticsController::StatisticsController(AppContext& ctx) : m_ctx(ctx) {}

void StatisticsController::Command12Click()
{
    QListWidget* list = m_ctx.ui.List1;
    // The items come already in plain text order (code-point order, so "1000=a" before "200=b"); the widget's own
    // sorting would use the locale's collation instead.
    list->setSortingEnabled(false);
    list->clear();
    list->addItems(CharacterStatistics(m_ctx.exercise.text()));
}
