#pragma once

#include "common/Result.h"
#include "platform/Sidetone.h"

#include <functional>
#include <memory>

// The sidetone the program holds from its start; the real one is made at the first tone set, when the learner may
// key. Silent when it cannot be made.
class DeferredSidetone : public Sidetone
{
public:
    using Make = std::function<Result<std::unique_ptr<Sidetone>>()>;

    explicit DeferredSidetone(Make make) : m_make(std::move(make)) {}

    void setTone(double hz, double volume) override
    {
        if (!m_made) {
            m_made = true;
            Result<std::unique_ptr<Sidetone>> made = m_make();
            if (made)
                m_real = std::move(*made);
        }
        if (m_real)
            m_real->setTone(hz, volume);
    }
    void key(bool down) override
    {
        if (m_real)
            m_real->key(down);
    }
    void release() override
    {
        if (m_real)
            m_real->release();
    }

private:
    Make m_make;
    std::unique_ptr<Sidetone> m_real;
    bool m_made = false;
};
