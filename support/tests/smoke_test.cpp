#include "support/queued_worker_thread.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {
struct Counted : support::QueueItem {};
class Counter : public support::QueuedWorkerThread
{
public:
    Counter() : QueuedWorkerThread(true, true) { Start(); }
    ~Counter() override { Stop(); }
    std::atomic<int> handled{0};

protected:
    void HandleItem(support::QueueItem &) override { ++handled; }
};
} // namespace

TEST(AWakingWorker, HandlesEveryPostedItem)
{
    Counter worker;
    for (int i = 0; i < 100; ++i)
        worker.Post(std::make_unique<Counted>());
    for (int i = 0; i < 2000 && worker.handled < 100; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(worker.handled, 100);
}
