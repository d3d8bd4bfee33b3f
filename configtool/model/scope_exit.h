#pragma once
// Runs a function when the scope ends, however it ends (a return or an exception), unless
// dismissed. The tool's commands restore the loading flag, the wait cursor, the status text and
// the editing state with it, so that a failing service call leaves none of them set.

#include <utility>

namespace configtool {

template <typename Function> class ScopeExit
{
public:
    explicit ScopeExit(Function function) : m_function(std::move(function)) {}
    ~ScopeExit()
    {
        if (m_active)
            m_function();
    }
    ScopeExit(const ScopeExit &) = delete;
    ScopeExit &operator=(const ScopeExit &) = delete;

    void dismiss() { m_active = false; }

private:
    Function m_function;
    bool m_active = true;
};

} // namespace configtool
