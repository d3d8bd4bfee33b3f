#pragma once
// The reports the simulated unit sends on its own (on command): each function builds the
// message the PC decodes into the event of the same name. Numbers are stored as their low byte
// (16-bit numbers as two bytes, high first); texts are taken as UTF-8 and sent as Windows-1252.
//
// Camera position replies come in the three camera codes the PC knows: 'P' (nibble addressed,
// half-degree steps), 'Z' (Pelco D: three replies, one per axis, hundredths) and '_' (A5 frame:
// 0.0375 degree steps, zoom in two ranges). Values outside what a code can carry are clamped.

#include "unit_link.h"

#include "platform/currency.h"

#include <cstdint>
#include <string>
#include <vector>

namespace unitsim {

using Bytes = std::vector<std::uint8_t>;

[[nodiscard]] Message PumpEvent(int eventID, int pumpNum, int hoseNum, int cameranum);
[[nodiscard]] Message DeliveryTotals(int eventID, int pumpNum, int hoseNum, Currency unitPrice, Currency totalPrice,
                                     double volume, int cameranum);
[[nodiscard]] Message POSMessage(int posNumber, int cameranum, int presetNum, const std::string &text);
[[nodiscard]] Message CameraEvent(int eventID, int targetID, int cameranum, int presetNum, bool revisiting);
[[nodiscard]] Message SystemDiagnostics(int totalMem, int maxMsgOutstanding, int minSpaceAvailable, int totalLoopTime);
[[nodiscard]] Message HeartBeat(const std::string &versions);
[[nodiscard]] Message VehicleReg(int logicalPump, const std::string &regNumber);
[[nodiscard]] Message DebugText(const std::string &text);
[[nodiscard]] Message BootLoadReady(int statusCode, int blockSize, int nextAddress);
[[nodiscard]] Message ResetCount(int count);
// One message for codes 'P' and '_', three (pan, tilt, zoom) for 'Z'; none for another code.
[[nodiscard]] std::vector<Message> PositionReplies(char cameraCode, int cameranum, double pan, double tilt,
                                                   double zoom);

} // namespace unitsim
