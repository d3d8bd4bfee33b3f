#pragma once
// Site files the benchmarks import, written as text: a large site laid out as the store writes
// one, a camera of presets that no number finds, and files made to cost libxml2 time out of
// proportion to their size.

#include <cstddef>
#include <string>

namespace bench {

// A site "Default" as the store exports it: the ten times, then `cameras` cameras of
// `presetsPerCamera` presets with a comment each (about 110 bytes per preset).
inline std::string LargeSiteText(int cameras, int presetsPerCamera)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CONFIG>\n"
                       "  <SITE NAME=\"Default\">\n    <TIMES>\n";
    for (const char *kind : {"DWELL_TIME", "INTERVISIT_TIME"}) {
        for (int p = 1; p <= 5; ++p)
            text += std::string("      <") + kind + " PRIORITY=\"" + std::to_string(p) + "\">1</" + kind
                    + ">\n";
    }
    text += "    </TIMES>\n    <PRIORITIES/>\n    <TASKS/>\n    <INTEREST_ZONES/>\n    <CAMERAS>\n";
    for (int c = 1; c <= cameras; ++c) {
        text += "      <CAMERA NUMBER=\"" + std::to_string(c)
                + "\">\n        <TYPE>80</TYPE>\n        <PRESETS>\n";
        for (int p = 1; p <= presetsPerCamera; ++p) {
            text += "          <PRESET NUMBER=\"" + std::to_string(p) + "\">\n            <COMMENT>Camera "
                    + std::to_string(c) + " preset " + std::to_string(p)
                    + "</COMMENT>\n          </PRESET>\n";
        }
        text += "        </PRESETS>\n      </CAMERA>\n";
    }
    return text + "    </CAMERAS>\n    <POSCONFIG/>\n  </SITE>\n</CONFIG>\n";
}

inline std::string Repeated(const std::string &text, std::size_t count)
{
    std::string all;
    all.reserve(text.size() * count);
    for (std::size_t i = 0; i < count; ++i)
        all += text;
    return all;
}

// ` a0="" a1="" ...`: `count` empty attributes, 6 bytes of file each (from the tenth on, 7).
inline std::string EmptyAttributes(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += " a" + std::to_string(i) + "=\"\"";
    return text;
}

// The site "P" of one camera whose presets are `elements` elements of `attributes` empty
// attributes each, `<PRESET a0="" a1="" ... />`.
inline std::string EmptyAttributesText(int elements, int attributes)
{
    return "<?xml version=\"1.0\"?><CONFIG><SITE NAME=\"P\"><CAMERAS><CAMERA NUMBER=\"1\">"
           "<TYPE>80</TYPE><PRESETS>"
           + Repeated("<PRESET" + EmptyAttributes(attributes) + "/>",
                      static_cast<std::size_t>(elements))
           + "</PRESETS></CAMERA></CAMERAS></SITE></CONFIG>";
}

// A file of `bytes` bytes: `declarations`, the site "Default" holding `count` copies of `unit`,
// and blanks before it all to make up the size (blanks outside the root cost libxml2 nothing).
// Empty when the copies do not fit.
inline std::string PaddedSiteText(std::size_t bytes, const std::string &declarations,
                                  const std::string &unit, std::size_t count)
{
    const std::string head = "<CONFIG><SITE NAME=\"Default\"><X>";
    const std::string tail = "</X></SITE></CONFIG>";
    const std::size_t used = declarations.size() + head.size() + unit.size() * count + tail.size();
    if (used > bytes)
        return {};
    return std::string(bytes - used, ' ') + declarations + head + Repeated(unit, count) + tail;
}

// A site "P" of `cameras` cameras numbered from 0, each of one `<PRESET/>` without NUMBER, and
// `dispensers` dispensers numbered from 0, each of one preset event `<EVENT/>` without NUMBER:
// lists that count an item which no number finds, many times over. 32,768 cameras are 2.4 MB,
// with as many dispensers 5.5 MB.
inline std::string UnnumberedListsText(int cameras, int dispensers)
{
    std::string text = "<?xml version=\"1.0\"?><CONFIG><SITE NAME=\"P\">";
    for (int i = 0; i < dispensers; ++i)
        text += "<DISPENSER NUMBER=\"" + std::to_string(i)
                + "\"><DISPENSER_MAP/><CAMERA_PRESETS><EVENT/></CAMERA_PRESETS></DISPENSER>";
    text += "<CAMERAS>";
    for (int i = 0; i < cameras; ++i)
        text += "<CAMERA NUMBER=\"" + std::to_string(i) + "\"><TYPE>80</TYPE><PRESETS><PRESET/></PRESETS></CAMERA>";
    return text + "</CAMERAS></SITE></CONFIG>";
}

// One site element of `count` attributes: `<SITE NAME="Default" a0="1" ... />`.
inline std::string ManyAttributesText(int count)
{
    std::string text = "<CONFIG><SITE NAME=\"Default\"";
    for (int i = 0; i < count; ++i)
        text += " a" + std::to_string(i) + "=\"1\"";
    return text + "/></CONFIG>";
}

// A comment of `bytes` bytes made of "-- ", each an error that libxml2 2.9 reports and parses on
// after.
inline std::string ErrorFloodText(std::size_t bytes)
{
    std::string text = "<CONFIG><!-- ";
    while (text.size() + 3 < bytes)
        text += "-- ";
    return text + "--></CONFIG>";
}

} // namespace bench
