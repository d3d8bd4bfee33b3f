#pragma once
// Site files the benchmarks import, written as text: a large site laid out as the store writes
// one, and files made to cost libxml2 time out of proportion to their size.

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
