#include "ptt/PttController.h"

PttController::PttController(AppContext& ctx) : m_ctx(ctx) {}
void PttController::Command15Click() {}
void PttController::Command16Click() {}
void PttController::Text15Changed() {}
