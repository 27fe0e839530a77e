#pragma once

struct AppContext;

// The keyboard copy drill of Frame2.
class DrillController
{
public:
    explicit DrillController(AppContext& ctx);

    void Command10Click(); // next character (menu "Clavier", and after each right answer)
    void Text17Changed();  // answer check
    void Timer3Tick();     // +10 ms
    void Command11Click(); // Fin

private:
    AppContext& m_ctx;
};
