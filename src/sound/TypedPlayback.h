#pragma once

struct AppContext;

// "Frappe clavier": the characters typed into Text26 played one after the other (Timer2, 100 ms).
class TypedPlayback
{
public:
    explicit TypedPlayback(AppContext& ctx);
    void PlayTypedCharacter(); // Timer2 tick

private:
    AppContext& m_ctx;
};
