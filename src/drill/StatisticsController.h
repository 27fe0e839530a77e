#pragma once

struct AppContext;

// "Stats": how often each character occurs in the exercise text, in List1.
class StatisticsController
{
public:
    explicit StatisticsController(AppContext& ctx);
    void Command12Click();

private:
    AppContext& m_ctx;
};
