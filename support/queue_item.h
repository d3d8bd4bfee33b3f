#pragma once
// The base of every object posted to a worker's queue. The queue owns what it holds: an item
// belongs to the producer until Post accepts it, to the queue while queued, and to the consumer
// once Pop returns it.

namespace support {

class QueueItem
{
public:
    QueueItem() = default;
    QueueItem(const QueueItem &) = delete;
    QueueItem &operator=(const QueueItem &) = delete;
    virtual ~QueueItem() = default;
};

} // namespace support
