#include "bridge_test_support.h"

#include "platform/install_folder.h"
#include "platform/profile_file.h"
#include "support/trace_log.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <stdlib.h>

namespace bridge_test {

void TempFolder::write(const std::string &name, const std::string &text) const
{
    std::ofstream(JoinPath(m_path, name), std::ios::binary) << text;
}

std::string TempFolder::read(const std::string &name) const
{
    std::ifstream in(JoinPath(m_path, name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ShippedRules()
{
    std::ifstream in(std::string(ORVEX_SOURCE_DIR) + "/data/RecorderBridgeConfig.xml", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void EnableFullTrace(const std::string &folder)
{
    ProfileFile settings(JoinPath(folder, kSettingsFileName));
    settings.writeInt("RecorderBridge", "TraceLevel", 3);
    settings.writeInt("RecorderBridge", "TraceWriteInterval", 10);
}

std::vector<std::string> ReadTraceLines(const std::string &folder)
{
    std::vector<std::string> lines;
    for (const char *name : {"RecorderBridge_0.txt", "RecorderBridge_1.txt"}) {
        std::ifstream in(JoinPath(folder, name), std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const auto cut = line.find(" -- ");
            lines.push_back(cut == std::string::npos ? line : line.substr(cut + 4));
        }
    }
    return lines;
}

TraceCapture::TraceCapture(const std::string &folder) : m_folder(folder)
{
    EnableFullTrace(folder);
    support::OpenTrace(folder.c_str(), folder.c_str(), "RecorderBridge");
    m_active = support::TraceEnabled(0);
}

TraceCapture::~TraceCapture()
{
    if (m_open)
        support::CloseTrace();
}

std::vector<std::string> TraceCapture::lines()
{
    if (m_open)
        support::CloseTrace();
    m_open = false;
    return ReadTraceLines(m_folder);
}

bool HasLine(const std::vector<std::string> &lines, const std::string &line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool HasLineStartingWith(const std::vector<std::string> &lines, const std::string &start)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string &l) { return l.starts_with(start); });
}

} // namespace bridge_test

#include "recording_sinks.h"

namespace bridge_test {

void SubscribeAll(recorder_bridge::IOrvexInterface &bridge, const std::shared_ptr<RecordingSink> &sink)
{
    std::uint32_t cookie = 0;
    std::shared_ptr<recorder_bridge::IFuelling> fuelling;
    std::shared_ptr<recorder_bridge::IPaymentTerminal> terminal;
    std::shared_ptr<recorder_bridge::IForecourtCamera> camera;
    std::shared_ptr<recorder_bridge::IRetail> retail;
    std::shared_ptr<recorder_bridge::IImageCapture> images;
    std::shared_ptr<recorder_bridge::ILicencePlateRecognizer> plates;
    bridge.getFuellingInterface(&fuelling);
    bridge.getPaymentTerminal(&terminal);
    bridge.getForecourtCamera(&camera);
    bridge.getRetail(&retail);
    bridge.getImageCapture(&images);
    bridge.getLicencePlateRecognizer(&plates);
    fuelling->Advise(sink, &cookie);
    terminal->Advise(sink, &cookie);
    camera->Advise(sink, &cookie);
    retail->Advise(sink, &cookie);
    images->Advise(sink, &cookie);
    plates->Advise(sink, &cookie);
}

} // namespace bridge_test
