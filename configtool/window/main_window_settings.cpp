#include "configtool/window/main_window_settings.h"

#include "platform/profile_file.h"

namespace configtool {

MainWindowSettings MainWindowSettings::load(const QString &path)
{
    const ProfileFile file(path.toStdString());
    MainWindowSettings settings;
    settings.top = static_cast<int>(file.readInt("MainForm", "Top", 0));
    settings.left = static_cast<int>(file.readInt("MainForm", "Left", 0));
    settings.comPort = static_cast<int>(file.readInt("Settings", "ComPort", 1));
    settings.cameraType = static_cast<int>(file.readInt("Settings", "CameraType", -1));
    return settings;
}

bool MainWindowSettings::save(const QString &path) const
{
    ProfileFile file(path.toStdString());
    // Every key is tried, so one that cannot be written does not keep back the others.
    bool written = file.writeInt("MainForm", "Top", top);
    written = file.writeInt("MainForm", "Left", left) && written;
    written = file.writeString("View", "Messages", messages ? "1" : "0") && written;
    written = file.writeInt("Settings", "ComPort", comPort) && written;
    written = file.writeInt("Settings", "CameraType", cameraType) && written;
    return written;
}

} // namespace configtool
