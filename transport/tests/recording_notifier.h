#pragma once
// Installs a Notifier that records every notice for the life of the object.

#include "platform/notifier.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class RecordingNotifier
{
public:
    RecordingNotifier() : m_sink(std::make_shared<Sink>()) { m_previous = SetNotifier(m_sink); }
    ~RecordingNotifier() { SetNotifier(m_previous); }
    RecordingNotifier(const RecordingNotifier &) = delete;
    RecordingNotifier &operator=(const RecordingNotifier &) = delete;

    [[nodiscard]] std::vector<std::string> texts() const
    {
        std::lock_guard lock(m_sink->mutex);
        return m_sink->texts;
    }

private:
    struct Sink : Notifier
    {
        void notify(std::string_view text, NoticeKind) override
        {
            std::lock_guard lock(mutex);
            texts.emplace_back(text);
        }
        mutable std::mutex mutex;
        std::vector<std::string> texts;
    };

    std::shared_ptr<Sink> m_sink;
    std::shared_ptr<Notifier> m_previous;
};
