#pragma once
// The settings of the suite that the Options dialog edits in "OrvexSettings.ini", as one table:
// where each value lives, its default, the control that shows it, and how the file's text turns
// into the control's state and back. The sibling programs read these keys with rules of their
// own, so the read rules are not all alike ("yes" is not "Yes" for LPREnabled, but anything
// other than "No" turns SaveZoomedPlateImage on); they are kept as the programs expect them.

#include <array>

namespace configtool {

enum class OptionRule {
    CheckAtLeastOne, // check box: checked when the number is 1 or more; writes 1 / 0
    CheckExactlyOne, // check box: checked when the number is exactly 1; writes 1 / 0
    CheckNonZero,    // check box: checked when the number is not 0; writes 1 / 0
    CheckExactlyYes, // check box: checked when the text is exactly "Yes"; writes "Yes" / "No"
    CheckUnlessNo,   // check box: checked unless the text is exactly "No"; writes "Yes" / "No"
    DatabaseOrFile,  // two radio buttons: the first when the text is exactly "Yes"; "Yes" / "No"
    LevelIndex,      // trace level list: the number is the item index
    TriggerEvent,    // pump event list: the item index is the number less 2
    Number,          // spin box: the number
    Text,            // edit: the text as it stands
    Password,        // edit shown masked; the text in plain in the file
};

enum class OptionTab { Startup, Logging, ImageCapture, Lpr, JournalKeeper, ImagePurging };

struct OptionKey
{
    const char *section;
    const char *key;
    const char *defaultValue;
    OptionRule rule;
    OptionTab tab;
    const char *caption;
    // The check box (by key) that enables this control and its label; null when always enabled.
    const char *enabledBy;
};

inline constexpr std::array<OptionKey, 23> kOptionKeys = {{
    {"OrvexStartup", "StartJournalKeeper", "1", OptionRule::CheckAtLeastOne, OptionTab::Startup,
     "Journal Keeper", nullptr},
    {"OrvexStartup", "StartGrabcardCapture", "1", OptionRule::CheckAtLeastOne, OptionTab::Startup,
     "Image Capture for Grabcard", nullptr},
    {"JournalKeeper", "TraceLevel", "0", OptionRule::LevelIndex, OptionTab::Logging,
     "Journal Keeper", nullptr},
    {"OrvexServices", "TraceLevel", "0", OptionRule::LevelIndex, OptionTab::Logging,
     "Orvex Services", nullptr},
    {"RecorderBridge", "TraceLevel", "0", OptionRule::LevelIndex, OptionTab::Logging,
     "Recorder Bridge", nullptr},
    {"Plate", "TraceLevel", "0", OptionRule::LevelIndex, OptionTab::Logging, "Plate", nullptr},
    {"Plateworks", "TraceLevel", "0", OptionRule::LevelIndex, OptionTab::Logging, "Plateworks",
     nullptr},
    {"GrabcardCapture", "TraceLevel", "0", OptionRule::LevelIndex, OptionTab::Logging,
     "Grabcard Capture", nullptr},
    {"ImageCapture", "ImageCaptureEnabled", "Yes", OptionRule::CheckExactlyYes,
     OptionTab::ImageCapture, "Capture Images on Pump Event", nullptr},
    {"ImageCapture", "ImageCaptureDelay", "3000", OptionRule::Number, OptionTab::ImageCapture,
     "Initial Capture Delay (ms)", "ImageCaptureEnabled"},
    {"LPR", "TriggerEvent", "2", OptionRule::TriggerEvent, OptionTab::ImageCapture, "Trigger Event",
     "ImageCaptureEnabled"},
    {"LPR", "LPREnabled", "Yes", OptionRule::CheckExactlyYes, OptionTab::Lpr,
     "Perform LPR on Captured Pump Image", nullptr},
    {"LPR", "PlateCaptureDelay", "5000", OptionRule::Number, OptionTab::Lpr,
     "Plate Capture Delay (ms)", "LPREnabled"},
    {"LPR", "SaveZoomedPlateImage", "No", OptionRule::CheckUnlessNo, OptionTab::Lpr,
     "Save Zoomed Plate Images", "LPREnabled"},
    {"LPR", "SoftwareZoom", "No", OptionRule::CheckUnlessNo, OptionTab::Lpr, "Use Software Zoom",
     "LPREnabled"},
    {"PlateworksDebug", "PlateworksDebugMode", "0", OptionRule::CheckNonZero, OptionTab::Lpr,
     "Plateworks Debug Mode", "LPREnabled"},
    {"OrvexDatabase", "UseDatabase", "Yes", OptionRule::DatabaseOrFile, OptionTab::JournalKeeper,
     "Log Events to Database", nullptr},
    {"OrvexDatabase", "ConnectString", "Provider=SQLOLEDB;Initial Catalog=OrvexERII",
     OptionRule::Text, OptionTab::JournalKeeper, "Connect String", "UseDatabase"},
    {"OrvexDatabase", "Username", "orvex", OptionRule::Text, OptionTab::JournalKeeper, "Username",
     "UseDatabase"},
    {"OrvexDatabase", "Password", "pelmo", OptionRule::Password, OptionTab::JournalKeeper,
     "Password", "UseDatabase"},
    {"ImagePurge", "RunPurger", "1", OptionRule::CheckExactlyOne, OptionTab::ImagePurging,
     "Enable Image Purging", nullptr},
    {"ImagePurge", "MinFreeSpace", "100", OptionRule::Number, OptionTab::ImagePurging,
     "Minimum Free Disk Space (MB)", "RunPurger"},
    {"ImagePurge", "DaysToDelete", "14", OptionRule::Number, OptionTab::ImagePurging,
     "Minimum Image Keep Period (Days)", "RunPurger"},
}};

// Whether the key holds a number in the file (else a text).
[[nodiscard]] constexpr bool isNumberRule(OptionRule rule)
{
    return rule != OptionRule::CheckExactlyYes && rule != OptionRule::CheckUnlessNo
           && rule != OptionRule::DatabaseOrFile && rule != OptionRule::Text
           && rule != OptionRule::Password;
}

} // namespace configtool
