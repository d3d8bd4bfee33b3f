#pragma once
// libxml2's memory, counted while an object of this class lives: every allocation libxml2 makes
// goes through hooks (xmlMemSetup) that keep the bytes outstanding as malloc counts them, and
// their peak. A block
// made before the count and freed during it counts against it, so growth() never overstates
// what libxml2 kept. The hooks are process-wide: make one only where no other thread uses
// libxml2, and let it go before anything else changes them.

#include <libxml/globals.h>
#include <libxml/xmlmemory.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <malloc.h>

namespace testing_support {

class LibxmlMemory
{
public:
    LibxmlMemory()
    {
        xmlMemGet(&m_free, &m_malloc, &m_realloc, &m_strdup);
        outstanding().store(0);
        highest().store(0);
        xmlMemSetup(countedFree, countedMalloc, countedRealloc, countedStrdup);
    }
    ~LibxmlMemory() { xmlMemSetup(m_free, m_malloc, m_realloc, m_strdup); }
    LibxmlMemory(const LibxmlMemory &) = delete;
    LibxmlMemory &operator=(const LibxmlMemory &) = delete;

    // Bytes libxml2 holds now beyond what it held when the count began.
    [[nodiscard]] std::int64_t growth() const { return outstanding().load(); }
    // The most growth() has been since the count began or the last resetPeak().
    [[nodiscard]] std::int64_t peak() const { return highest().load(); }
    void resetPeak() { highest().store(outstanding().load()); }

private:
    static std::atomic<std::int64_t> &outstanding()
    {
        static std::atomic<std::int64_t> bytes{0};
        return bytes;
    }
    static std::atomic<std::int64_t> &highest()
    {
        static std::atomic<std::int64_t> bytes{0};
        return bytes;
    }
    static void add(std::int64_t bytes)
    {
        const std::int64_t now = outstanding() += bytes;
        std::int64_t seen = highest().load();
        while (now > seen && !highest().compare_exchange_weak(seen, now)) {
        }
    }
    static std::int64_t sizeOf(void *block)
    {
        return block == nullptr ? 0 : static_cast<std::int64_t>(malloc_usable_size(block));
    }
    static void *countedMalloc(std::size_t size)
    {
        void *block = std::malloc(size);
        add(sizeOf(block));
        return block;
    }
    static void *countedRealloc(void *old, std::size_t size)
    {
        const std::int64_t before = sizeOf(old);
        void *block = std::realloc(old, size);
        if (block == nullptr && size != 0)
            return nullptr;
        add(sizeOf(block) - before);
        return block;
    }
    static void countedFree(void *block)
    {
        add(-sizeOf(block));
        std::free(block);
    }
    static char *countedStrdup(const char *text)
    {
        const std::size_t size = std::strlen(text) + 1;
        auto *copy = static_cast<char *>(countedMalloc(size));
        if (copy != nullptr)
            std::memcpy(copy, text, size);
        return copy;
    }

    xmlFreeFunc m_free = nullptr;
    xmlMallocFunc m_malloc = nullptr;
    xmlReallocFunc m_realloc = nullptr;
    xmlStrdupFunc m_strdup = nullptr;
};

} // namespace testing_support
