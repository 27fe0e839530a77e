#include "sound/SoundController.h"

#include "app/AppContext.h"

// Placeholder bodies until the sound subsystem lands.
SoundController::SoundController(AppContext& ctx) : m_ctx(ctx) {}
void SoundController::entete() {}
void SoundController::BuildTonePeriod() {}
bool SoundController::hasTonePeriod() const { return false; }
bool SoundController::BuildSampleRuns(double, double, double, double, double) { return true; }
void SoundController::RenderExercise() {}
void SoundController::ToneTest() {}
void SoundController::PlayStarted() {}
void SoundController::StatusTick() {}
void SoundController::PlayEnded() {}
