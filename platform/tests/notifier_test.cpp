#include "platform/notifier.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

extern "C" void RaiseNoticeFromModule(const char *text);

namespace {

class RecordingNotifier : public Notifier
{
public:
    void notify(std::string_view text, NoticeKind) override
    {
        std::lock_guard lock(m_mutex);
        m_texts.emplace_back(text);
    }
    std::vector<std::string> texts()
    {
        std::lock_guard lock(m_mutex);
        return m_texts;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_texts;
};

TEST(ANotifier, ReceivesTheNoticesRaisedInsideASharedLibrary)
{
    auto recorder = std::make_shared<RecordingNotifier>();
    auto previous = SetNotifier(recorder);
    Notify("from the program");
    RaiseNoticeFromModule("from a library");
    SetNotifier(previous);
    EXPECT_EQ(recorder->texts(), (std::vector<std::string>{"from the program", "from a library"}));
}

} // namespace
