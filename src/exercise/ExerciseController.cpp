#include "exercise/ExerciseController.h"

ExerciseController::ExerciseController(AppContext& ctx) : m_ctx(ctx) {}
void ExerciseController::Command5Click() {}
void ExerciseController::Command6Click() {}
void ExerciseController::Command8Click() {}
void ExerciseController::Command7Click() {}
void ExerciseController::ex1() {}
void ExerciseController::EX2() {}
void ExerciseController::diag() {}
void ExerciseController::melange() {}
void ExerciseController::indicatifs() {}
void ExerciseController::inv() {}
void ExerciseController::doubleSpaces() {}
void ExerciseController::acc() {}
void ExerciseController::ouvrir() {}
void ExerciseController::imprimer() {}
void ExerciseController::Command4Click() {}
