#include "drill/StatisticsController.h"

StatisticsController::StatisticsController(AppContext& ctx) : m_ctx(ctx) {}
void StatisticsController::Command12Click() {}
