#pragma once
// The subscriber table of one event interface (a connection point).
//
// Advise keeps a strong reference to the sink and returns a non-zero cookie: the sink takes the
// first empty slot and its cookie is that slot's number + 1. Unadvise of a cookie that names no
// sink is CONNECT_E_NOCONNECTION. Fire takes a snapshot of the table under the lock and calls
// each sink outside it, so a sink may advise or unadvise (itself too) while it is called; a sink
// that throws is reported to the error handler and never stops the others. Any thread may
// advise, unadvise and fire.

#include "hresult.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

template <typename Sink>
class ConnectionPoint
{
public:
    using ErrorHandler = std::function<void(const std::string &what)>;

    HRESULT Advise(std::shared_ptr<Sink> sink, std::uint32_t *cookie)
    {
        if (!cookie)
            return E_POINTER;
        *cookie = 0;
        if (!sink)
            return E_POINTER;
        std::lock_guard lock(m_mutex);
        std::size_t slot = 0;
        while (slot < m_sinks.size() && m_sinks[slot])
            ++slot;
        if (slot == m_sinks.size())
            m_sinks.push_back(std::move(sink));
        else
            m_sinks[slot] = std::move(sink);
        *cookie = static_cast<std::uint32_t>(slot + 1);
        return S_OK;
    }

    HRESULT Unadvise(std::uint32_t cookie)
    {
        std::shared_ptr<Sink> released;
        std::lock_guard lock(m_mutex);
        if (cookie == 0 || cookie > m_sinks.size() || !m_sinks[cookie - 1])
            return CONNECT_E_NOCONNECTION;
        // The sink is released outside the lock, in case its destructor calls back.
        released.swap(m_sinks[cookie - 1]);
        return S_OK;
    }

    // Calls `call(sink)` for every sink advised when the firing began.
    template <typename Call>
    void Fire(Call &&call, const ErrorHandler &onError = {}) const
    {
        for (const auto &sink : Snapshot())
            callSink(call, *sink, onError);
    }

    // Calls `call(sink)` slot by slot over the slots that existed when the firing began, each
    // slot read as it is reached: a sink unadvised during the firing is not called after its
    // Unadvise, and one advised into an empty slot not yet reached is called.
    template <typename Call>
    void FireSlots(Call &&call, const ErrorHandler &onError = {}) const
    {
        std::size_t slots = 0;
        {
            std::lock_guard lock(m_mutex);
            slots = m_sinks.size();
        }
        for (std::size_t i = 0; i < slots; ++i) {
            std::shared_ptr<Sink> sink;
            {
                std::lock_guard lock(m_mutex);
                if (i < m_sinks.size())
                    sink = m_sinks[i];
            }
            if (sink)
                callSink(call, *sink, onError);
        }
    }

    [[nodiscard]] std::vector<std::shared_ptr<Sink>> Snapshot() const
    {
        std::lock_guard lock(m_mutex);
        std::vector<std::shared_ptr<Sink>> sinks;
        sinks.reserve(m_sinks.size());
        for (const auto &sink : m_sinks) {
            if (sink)
                sinks.push_back(sink);
        }
        return sinks;
    }

    [[nodiscard]] std::size_t Count() const
    {
        std::lock_guard lock(m_mutex);
        std::size_t n = 0;
        for (const auto &sink : m_sinks)
            n += sink ? 1 : 0;
        return n;
    }

    void Clear()
    {
        std::vector<std::shared_ptr<Sink>> released;
        std::lock_guard lock(m_mutex);
        released.swap(m_sinks);
    }

private:
    template <typename Call>
    static void callSink(Call &call, Sink &sink, const ErrorHandler &onError)
    {
        try {
            call(sink);
        } catch (const std::exception &e) {
            if (onError)
                onError(e.what());
        } catch (...) {
            if (onError)
                onError("unknown exception");
        }
    }

    mutable std::mutex m_mutex;
    std::vector<std::shared_ptr<Sink>> m_sinks;
};
