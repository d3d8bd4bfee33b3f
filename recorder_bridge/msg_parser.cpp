#include "msg_parser.h"

#include "rules_loader.h"
#include "support/trace_log.h"

#include <exception>

namespace recorder_bridge {

CMsgParser::CMsgParser(support::QueuedWorkerThread &output, std::string installFolder)
    : QueuedWorkerThread(true, true), m_output(output), m_installFolder(std::move(installFolder)),
      m_input(std::make_unique<MsgInput>(this))
{
    SetPriority(-1);
    Start();
}

CMsgParser::~CMsgParser()
{
    m_input.reset();
    Stop();
}

HRESULT CMsgParser::LoadConfiguration() { return LoadPosRules(m_installFolder, m_rules); }

HRESULT CMsgParser::RegisterServices(std::shared_ptr<services::IDVREventSource> hub)
{
    m_input->RegisterServices(std::move(hub));
    return S_OK;
}

void CMsgParser::Run()
{
    while (!StopRequested()) {
        if (std::unique_ptr<support::QueueItem> queued = Pop()) {
            try {
                // Only message items are ever posted here; anything else is dropped.
                if (auto *item = dynamic_cast<MessageItem *>(queued.get())) {
                    queued.release();
                    HandleMessage(std::unique_ptr<MessageItem>(item));
                }
            } catch (const std::exception &e) {
                support::TraceError("CMsgParser thread caught unknown error.");
                support::TraceError("CMsgParser item lost: %s", e.what());
            } catch (...) {
                support::TraceError("CMsgParser thread caught unknown error.");
            }
        }
        IdleWhileEmpty();
    }
    support::TraceInfo("CMsgParser thread exited.");
}

void CMsgParser::HandleItem(support::QueueItem &) {}

void CMsgParser::PassOn(std::unique_ptr<MessageItem> item)
{
    std::unique_ptr<support::QueueItem> queued = std::move(item);
    m_output.Post(queued); // a refused item is deleted here
}

void CMsgParser::HandleMessage(std::unique_ptr<MessageItem> item)
{
    support::TraceInfo("Parser Handling Item, type %d", item->typeCode());
    if (item->Type != ItemType::PosMessage) {
        support::TraceInfo("Parser Passing item to Output, type %d", item->typeCode());
        PassOn(std::move(item));
        return;
    }
    if (std::unique_ptr<MessageItem> retail = m_lineParser.Parse(*item))
        PassOn(std::move(retail));
}

} // namespace recorder_bridge
