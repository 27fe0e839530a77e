#include "sound/TypedPlayback.h"

TypedPlayback::TypedPlayback(AppContext& ctx) : m_ctx(ctx) {}
void TypedPlayback::PlayTypedCharacter() {}
