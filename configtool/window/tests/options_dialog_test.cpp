#include "configtool/window/options_dialog.h"

#include "configtool/testing/recording_host.h"
#include "window_test_support.h"

#include "platform/profile_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <map>

namespace configtool {
namespace {

using testing::InstallFolder;

struct KeyValues
{
    const char *section;
    const char *key;
    const char *inFile;
    const char *written;
};

// Two settings files that give every key a value other than its default, chosen so that any two
// keys of one kind differ in at least one of them: a control bound to the wrong key writes a
// wrong value.
const std::vector<std::vector<KeyValues>> kRoundTrips = {
    {
        {"OrvexStartup", "StartJournalKeeper", "2", "1"},
        {"OrvexStartup", "StartGrabcardCapture", "0", "0"},
        {"JournalKeeper", "TraceLevel", "0", "0"},
        {"OrvexServices", "TraceLevel", "1", "1"},
        {"RecorderBridge", "TraceLevel", "2", "2"},
        {"Plate", "TraceLevel", "3", "3"},
        {"Plateworks", "TraceLevel", "0", "0"},
        {"GrabcardCapture", "TraceLevel", "1", "1"},
        {"ImageCapture", "ImageCaptureEnabled", "Yes", "Yes"},
        {"ImageCapture", "ImageCaptureDelay", "1234", "1234"},
        {"LPR", "TriggerEvent", "5", "5"},
        {"LPR", "LPREnabled", "Yes", "Yes"},
        {"LPR", "PlateCaptureDelay", "4321", "4321"},
        {"LPR", "SaveZoomedPlateImage", "yes", "Yes"},
        {"LPR", "SoftwareZoom", "No", "No"},
        {"PlateworksDebug", "PlateworksDebugMode", "7", "1"},
        {"OrvexDatabase", "UseDatabase", "No", "No"},
        {"OrvexDatabase", "ConnectString", "Server=depot;Database=events",
         "Server=depot;Database=events"},
        {"OrvexDatabase", "Username", "site", "site"},
        {"OrvexDatabase", "Password", "s3cret word", "s3cret word"},
        {"ImagePurge", "RunPurger", "2", "0"},
        {"ImagePurge", "MinFreeSpace", "250", "250"},
        {"ImagePurge", "DaysToDelete", "30", "30"},
    },
    {
        {"OrvexStartup", "StartJournalKeeper", "0", "0"},
        {"OrvexStartup", "StartGrabcardCapture", "3", "1"},
        {"JournalKeeper", "TraceLevel", "0", "0"},
        {"OrvexServices", "TraceLevel", "0", "0"},
        {"RecorderBridge", "TraceLevel", "1", "1"},
        {"Plate", "TraceLevel", "1", "1"},
        {"Plateworks", "TraceLevel", "2", "2"},
        {"GrabcardCapture", "TraceLevel", "2", "2"},
        {"ImageCapture", "ImageCaptureEnabled", "Yes", "Yes"},
        {"ImageCapture", "ImageCaptureDelay", "40", "40"},
        {"LPR", "TriggerEvent", "3", "3"},
        {"LPR", "LPREnabled", "yes", "No"},
        {"LPR", "PlateCaptureDelay", "41", "41"},
        {"LPR", "SaveZoomedPlateImage", "No", "No"},
        {"LPR", "SoftwareZoom", "on", "Yes"},
        {"PlateworksDebug", "PlateworksDebugMode", "0", "0"},
        {"OrvexDatabase", "UseDatabase", "Yes", "Yes"},
        {"OrvexDatabase", "ConnectString", "", ""},
        {"OrvexDatabase", "Username", "Orvex", "Orvex"},
        {"OrvexDatabase", "Password", "", ""},
        {"ImagePurge", "RunPurger", "1", "1"},
        {"ImagePurge", "MinFreeSpace", "42", "42"},
        {"ImagePurge", "DaysToDelete", "43", "43"},
    },
};

class AnOptionsDialog : public ::testing::Test
{
protected:
    void clickOk(OptionsDialog &dialog)
    {
        dialog.findChild<QPushButton *>(QStringLiteral("BtnOK"))->click();
    }

    QString written(const char *section, const char *key)
    {
        const ProfileFile file(folder.settings().toStdString());
        return QString::fromStdString(file.readString(section, key, "<missing>"));
    }

    InstallFolder folder;
    testing::ScriptedPrompter prompter;
};

TEST_F(AnOptionsDialog, WritesBackEveryKeyAsItsRulesRead)
{
    for (const auto &table : kRoundTrips) {
        QFile::remove(folder.settings());
        ProfileFile file(folder.settings().toStdString());
        for (const KeyValues &row : table)
            ASSERT_TRUE(file.writeString(row.section, row.key, row.inFile));
        ASSERT_EQ(table.size(), kOptionKeys.size());

        OptionsDialog dialog(folder.settings(), prompter);
        dialog.show();
        clickOk(dialog);
        EXPECT_FALSE(dialog.isVisible());
        for (const KeyValues &row : table)
            EXPECT_EQ(written(row.section, row.key), QString::fromLatin1(row.written))
                << row.section << "/" << row.key << " = " << row.inFile;
    }
    EXPECT_EQ(prompter.shown.count(QStringLiteral(
                  "warning: You must restart the computer for the changes to take effect.")),
              2);
}

TEST_F(AnOptionsDialog, ShowsTheSiblingProgramsReadRules)
{
    ProfileFile file(folder.settings().toStdString());
    (void)file.writeString("LPR", "SaveZoomedPlateImage", "yes");
    (void)file.writeString("LPR", "LPREnabled", "yes");
    (void)file.writeString("ImagePurge", "RunPurger", "2");
    (void)file.writeString("OrvexStartup", "StartJournalKeeper", "2");
    (void)file.writeString("LPR", "TriggerEvent", "5");
    (void)file.writeString("JournalKeeper", "TraceLevel", "9");

    OptionsDialog dialog(folder.settings(), prompter);
    dialog.show();
    const auto checked = [&](const char *section, const char *key) {
        return qobject_cast<QCheckBox *>(dialog.control(section, key))->isChecked();
    };
    EXPECT_TRUE(checked("LPR", "SaveZoomedPlateImage"));
    EXPECT_FALSE(checked("LPR", "LPREnabled"));
    EXPECT_FALSE(checked("ImagePurge", "RunPurger"));
    EXPECT_TRUE(checked("OrvexStartup", "StartJournalKeeper"));
    EXPECT_EQ(qobject_cast<QComboBox *>(dialog.control("LPR", "TriggerEvent"))->currentText(),
              QStringLiteral("Delivery End"));
    // A level the list does not hold shows no item and goes back to the file as it was.
    EXPECT_EQ(
        qobject_cast<QComboBox *>(dialog.control("JournalKeeper", "TraceLevel"))->currentIndex(),
        -1);
    EXPECT_FALSE(dialog.control("LPR", "PlateCaptureDelay")->isEnabled());
    EXPECT_FALSE(dialog.control("ImagePurge", "MinFreeSpace")->isEnabled());
    EXPECT_EQ(qobject_cast<QLineEdit *>(dialog.control("OrvexDatabase", "Password"))->echoMode(),
              QLineEdit::Password);
    clickOk(dialog);
    EXPECT_EQ(written("JournalKeeper", "TraceLevel"), QStringLiteral("9"));
    EXPECT_EQ(written("LPR", "TriggerEvent"), QStringLiteral("5"));
}

TEST_F(AnOptionsDialog, TurnsLprOffOnceWhenImageCaptureIsOff)
{
    ProfileFile file(folder.settings().toStdString());
    (void)file.writeString("ImageCapture", "ImageCaptureEnabled", "No");
    (void)file.writeString("LPR", "LPREnabled", "Yes");

    OptionsDialog dialog(folder.settings(), prompter);
    dialog.show();
    const QString warning
        = QStringLiteral("warning: Cannot perform LPR without Image Capture.  Disabling LPR.");
    EXPECT_EQ(prompter.shown, QStringList{warning});
    auto *lpr = qobject_cast<QCheckBox *>(dialog.control("LPR", "LPREnabled"));
    EXPECT_FALSE(lpr->isChecked());
    EXPECT_FALSE(lpr->isEnabled());
    EXPECT_FALSE(dialog.control("LPR", "TriggerEvent")->isEnabled());
    EXPECT_FALSE(dialog.control("ImageCapture", "ImageCaptureDelay")->isEnabled());

    // Capture turned back on gives LPR back, unticked.
    qobject_cast<QCheckBox *>(dialog.control("ImageCapture", "ImageCaptureEnabled"))->click();
    EXPECT_TRUE(lpr->isEnabled());
    EXPECT_TRUE(dialog.control("LPR", "TriggerEvent")->isEnabled());
    qobject_cast<QCheckBox *>(dialog.control("ImageCapture", "ImageCaptureEnabled"))->click();
    EXPECT_EQ(prompter.shown.count(warning), 1);

    clickOk(dialog);
    EXPECT_EQ(written("LPR", "LPREnabled"), QStringLiteral("No"));
}

TEST_F(AnOptionsDialog, FollowsTheEnablingRulesOnClicks)
{
    OptionsDialog dialog(folder.settings(), prompter);
    dialog.show();
    EXPECT_TRUE(dialog.control("OrvexDatabase", "ConnectString")->isEnabled());
    dialog.findChild<QRadioButton *>(QStringLiteral("OrvexDatabase/UseDatabase/File"))->click();
    EXPECT_FALSE(dialog.control("OrvexDatabase", "Password")->isEnabled());
    qobject_cast<QCheckBox *>(dialog.control("LPR", "LPREnabled"))->click();
    EXPECT_FALSE(dialog.control("LPR", "SoftwareZoom")->isEnabled());
    qobject_cast<QCheckBox *>(dialog.control("ImagePurge", "RunPurger"))->click();
    EXPECT_FALSE(dialog.control("ImagePurge", "DaysToDelete")->isEnabled());

    dialog.findChild<QPushButton *>(QStringLiteral("BtnReset"))->click();
    EXPECT_TRUE(dialog.control("OrvexDatabase", "Password")->isEnabled());
    EXPECT_TRUE(dialog.control("LPR", "SoftwareZoom")->isEnabled());
    EXPECT_TRUE(dialog.control("ImagePurge", "DaysToDelete")->isEnabled());
}

TEST_F(AnOptionsDialog, WritesNothingOnResetThenCancel)
{
    const QByteArray original = "; kept as it is\n[LPR]\nLPREnabled=No\nPOSCameraNumber=3\n"
                                "[ImagePurge]\nRunPurger=0\n";
    testing::writeAll(folder.settings(), original);
    OptionsDialog dialog(folder.settings(), prompter);
    dialog.show();
    dialog.findChild<QPushButton *>(QStringLiteral("BtnReset"))->click();
    EXPECT_TRUE(qobject_cast<QCheckBox *>(dialog.control("LPR", "LPREnabled"))->isChecked());
    dialog.findChild<QPushButton *>(QStringLiteral("BtnCancel"))->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(testing::readAll(folder.settings()), original);

    // The next show forgets what was not confirmed.
    dialog.show();
    EXPECT_FALSE(qobject_cast<QCheckBox *>(dialog.control("LPR", "LPREnabled"))->isChecked());
}

TEST_F(AnOptionsDialog, MakesTheFileWithTheDefaultsAtOk)
{
    OptionsDialog dialog(folder.settings(), prompter);
    dialog.show();
    EXPECT_EQ(qobject_cast<QLineEdit *>(dialog.control("OrvexDatabase", "Username"))->text(),
              QStringLiteral("orvex"));
    clickOk(dialog);
    for (const OptionKey &key : kOptionKeys)
        EXPECT_EQ(written(key.section, key.key), QString::fromLatin1(key.defaultValue))
            << key.section << "/" << key.key;
}

TEST_F(AnOptionsDialog, StaysOpenAndSaysSoWhenTheFileCannotBeWritten)
{
    // A folder where the file should be: no write can replace it.
    ASSERT_TRUE(QDir().mkpath(folder.settings()));
    OptionsDialog dialog(folder.settings(), prompter);
    dialog.show();
    clickOk(dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompter.shown,
              QStringList{QStringLiteral("error: Unable to write to ") + folder.settings()});
}

TEST_F(AnOptionsDialog, PicturesEveryTab)
{
    OptionsDialog dialog(folder.settings(), prompter);
    dialog.show();
    const char *names[]
        = {"startup", "logging", "image-capture", "lpr", "journal-keeper", "image-purging"};
    ASSERT_EQ(dialog.tabs()->count(), 6);
    for (int tab = 0; tab < dialog.tabs()->count(); ++tab) {
        dialog.tabs()->setCurrentIndex(tab);
        testing::saveScreenshot(dialog, QStringLiteral("options-") + QLatin1String(names[tab]));
    }
}

} // namespace
} // namespace configtool
