#pragma once
// An environment variable set, or unset for nullptr, for the life of the object; its earlier
// value, or its absence, comes back afterwards.

#include <cstdlib>
#include <optional>
#include <string>

class ScopedVariable
{
public:
    ScopedVariable(const char *name, const char *value) : m_name(name)
    {
        if (const char *earlier = std::getenv(name))
            m_earlier = earlier;
        set(value);
    }
    ~ScopedVariable() { set(m_earlier ? m_earlier->c_str() : nullptr); }
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

private:
    void set(const char *value)
    {
        if (value)
            ::setenv(m_name, value, 1);
        else
            ::unsetenv(m_name);
    }

    const char *m_name;
    std::optional<std::string> m_earlier;
};
