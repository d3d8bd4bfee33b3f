#pragma once
// The main window's keys of "OrvexSettings.ini": its position ([MainForm] Top, Left), the serial
// port ([Settings] ComPort), the camera type ([Settings] CameraType, -1 while none was chosen)
// and whether the Messages window is shown ([View] Messages). Read at start; written only when
// the window closes. The service reads ComPort and CameraType of the same file.

#include <QString>

namespace configtool {

struct MainWindowSettings
{
    int top = 0;
    int left = 0;
    int comPort = 1;
    int cameraType = -1;
    bool messages = false;

    // Reads the keys the main window starts from ([View] Messages is the Messages window's).
    static MainWindowSettings load(const QString &path);
    // Writes every key; false when the file could not be written.
    [[nodiscard]] bool save(const QString &path) const;
};

} // namespace configtool
