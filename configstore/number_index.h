#pragma once
// The items of one container by number, so that a lookup is one hash probe instead of a walk of
// every child. The service reads a stored table by trying numbers until it has found as many
// items as the container counts, up to every 16-bit number (measured, bench/site_load_bench:
// LoadSite of a camera of 10,000 presets without NUMBER took 2.3 s, with 256 attributes on each
// of 8,616 presets over half an hour, of 100 cameras of 1,400 presets 1.5 s; with the index
// 0.45 ms, 70 ms and 90 ms).
//
// For each 16-bit number: the first element child of the container whose NUMBER, parsed whole,
// is that number, and behind it the later ones of that number in document order. Elements
// without NUMBER, or with one outside the 16-bit range, are found by no number and left out.
// Built in one pass over the children, reading each NUMBER once. The index does not watch the
// document: whoever changes the container's children keeps it in step, and the store makes only
// two such changes, both through NumberedCollection: it appends an item of a number that no
// item has, and it removes the first item of a number.

#include <libxml/tree.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace configstore {

class NumberIndex
{
public:
    // Reads the element children of `container`. Throws std::bad_alloc.
    explicit NumberIndex(const xmlNode *container);

    // The first item of `number`, or null.
    [[nodiscard]] xmlNodePtr find(std::int16_t number) const;
    // Every number that finds an item, lowest first. Throws std::bad_alloc.
    [[nodiscard]] std::vector<std::int16_t> numbers() const;
    // `element` was appended as an item of `number`, which no other item has. Throws
    // std::bad_alloc, the index then left without it.
    void appended(std::int16_t number, xmlNodePtr element);
    // The first item of `number` was removed: the next item of that number, if any, is first.
    void removedFirst(std::int16_t number) noexcept;

private:
    std::unordered_map<std::int16_t, xmlNodePtr> m_first;
    // An item that a later item of its number follows, and that later item.
    std::unordered_map<const xmlNode *, xmlNodePtr> m_next;
};

} // namespace configstore
