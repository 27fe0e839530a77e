#include "about/AboutController.h"

#include <QWidget>

AboutController::AboutController(AppContext& ctx) : m_ctx(ctx) {}
AboutController::~AboutController() = default;
void AboutController::apropos() {}
QWidget* AboutController::window() const { return m_window; }
