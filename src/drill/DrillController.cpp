#include "drill/DrillController.h"

DrillController::DrillController(AppContext& ctx) : m_ctx(ctx) {}
void DrillController::Command10Click() {}
void DrillController::Text17Changed() {}
void DrillController::Timer3Tick() {}
void DrillController::Command11Click() {}
