#include "configtool/window/about_dialog.h"
#include "configtool/window/box_prompter.h"
#include "configtool/window/branding.h"
#include "configtool/window/camera_type_dialog.h"
#include "configtool/window/com_port_dialog.h"
#include "configtool/window/splash_screen.h"
#include "configtool/window/version_number_reader.h"

#include "configtool/model/camera_type_state.h"
#include "window_test_support.h"

#include "platform/profile_file.h"
#include "support/tests/unreadable_files.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace configtool {
namespace {

using testing::InstallFolder;

std::vector<CameraProtocol> someCameraProtocols()
{
    return {{QStringLiteral("Pelco D"), 40},
            {QStringLiteral("Pelco P"), 41},
            {QStringLiteral("VCL"), 80}};
}

// The tool's error boxes that give a reason, as a site engineer sees them: the message, and the
// reason on the line below it.
TEST(AnErrorBox, ShowsTheReasonOnTheLineBelowTheMessage)
{
    const std::vector<std::pair<QString, QString>> boxes = {
        {QStringLiteral("error-box-file"),
         QStringLiteral("Error loading file Forecourt.ovx\nthe file holds no site of that name")},
        {QStringLiteral("error-box-connect"),
         QStringLiteral("Unable to connect to OrvexServices.\nThe name org.orvex.OrvexServices was "
                        "not provided by any .service files")},
    };
    for (const auto &[name, text] : boxes) {
        QString shown;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&, name = name] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            closer.stop();
            shown = box->text();
            testing::saveScreenshot(*box, name);
            box->accept();
        });
        closer.start(10);
        BoxPrompter().error(text);
        EXPECT_EQ(shown, text);
    }
}

TEST(ACameraTypeDialog, ListsTheCameraProtocolsAndSelectsTheCurrentType)
{
    CameraTypeState type(41);
    CameraTypeDialog dialog(type, someCameraProtocols);
    dialog.show();
    QStringList names;
    for (int i = 0; i < dialog.typeList()->count(); ++i)
        names << dialog.typeList()->itemText(i);
    EXPECT_EQ(names, (QStringList{"Pelco D", "Pelco P", "VCL"}));
    EXPECT_EQ(dialog.typeList()->currentText(), QStringLiteral("Pelco P"));
    EXPECT_TRUE(dialog.cancelButton()->isEnabled());
    testing::saveScreenshot(dialog, QStringLiteral("camera-type"));
    dialog.cancelButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(type.value(), 41);
}

TEST(ACameraTypeDialog, CannotBeLeftWithoutATypeWhileNoneIsSet)
{
    CameraTypeState type;
    QSignalSpy told(&type, &CameraTypeState::changed);
    CameraTypeDialog dialog(type, someCameraProtocols);
    dialog.show();
    EXPECT_EQ(dialog.typeList()->currentText(), QStringLiteral("Pelco D"));
    EXPECT_FALSE(dialog.cancelButton()->isEnabled());
    dialog.reject();
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());

    dialog.typeList()->setCurrentIndex(2);
    dialog.findChild<QPushButton *>(QStringLiteral("BtnOK"))->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(type.value(), 80);
    ASSERT_EQ(told.count(), 1);
    EXPECT_EQ(told.at(0).at(0).toInt(), 80);
}

TEST(ACameraTypeDialog, GivesTypeZeroWhenTheListIsEmpty)
{
    CameraTypeState type;
    CameraTypeDialog dialog(type, [] { return std::vector<CameraProtocol>(); });
    dialog.show();
    dialog.accept();
    EXPECT_EQ(type.value(), 0);
}

TEST(AComPortDialog, ShowsAndGivesThePort)
{
    ComPortDialog dialog;
    dialog.setPort(3);
    dialog.show();
    EXPECT_EQ(dialog.portSpin()->value(), 3);
    EXPECT_EQ(dialog.portSpin()->maximum(), 9);
    EXPECT_EQ(dialog.portSpin()->minimum(), 1);
    testing::saveScreenshot(dialog, QStringLiteral("com-port"));
    dialog.portSpin()->setValue(9);
    EXPECT_EQ(dialog.port(), 9);
}

TEST(AFileVersion, IsReadFromTheMarkerAnywhereInTheFile)
{
    InstallFolder folder;
    struct Case
    {
        const char *legend;
        QByteArray content;
        const char *version;
    };
    const Case cases[] = {
        {"marker between binary bytes",
         QByteArray("\x7f"
                    "ELF\0\0",
                    6)
             + "ORVEX-FILE-VERSION=1.0.0.0" + QByteArray(3, '\0'),
         "1.0.0.0"},
        {"marker at the very end", "xxORVEX-FILE-VERSION=2.5.10.300", "2.5.10.300"},
        {"no marker", "just some bytes", ""},
        {"three numbers only", "ORVEX-FILE-VERSION=1.2.3", ""},
        {"empty file", "", ""},
    };
    for (const Case &c : cases) {
        const QString path = folder.file(QStringLiteral("component"));
        testing::writeAll(path, c.content);
        EXPECT_EQ(ReadFileVersion(path), QString::fromLatin1(c.version)) << c.legend;
    }
    EXPECT_EQ(ReadFileVersion(folder.file(QStringLiteral("missing"))), QString());
    EXPECT_EQ(ReadFileVersion(folder.path()), QString());
}

TEST(AFileVersion, IsBuiltIntoTheDeliverables)
{
    const QString version = ReadFileVersion(QStringLiteral(ORVEX_TRANSPORT_LIBRARY));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$")).match(version).hasMatch())
        << version.toStdString();
    EXPECT_EQ(ReadFileVersion(QStringLiteral(ORVEX_SERVICES_PROGRAM)), version);
}

TEST(AVersionNumberReader, LooksFilesUpInItsFoldersInTurn)
{
    InstallFolder bin;
    InstallFolder lib;
    testing::writeAll(lib.file(QStringLiteral("libDeviceCourier.so")),
                      "ORVEX-FILE-VERSION=1.0.0.0");
    testing::writeAll(bin.file(QStringLiteral("OrvexServices")), "no version here");
    VersionNumberReader reader;
    reader.setBaseFolders({bin.path(), lib.path()});
    RegisterComponentVersions(reader);
    ASSERT_EQ(reader.count(), 5);
    const QStringList names{"GUI", "Transport", "Storage", "Services", "Recorder Bridge"};
    const QStringList versions{"2.5.1.1", "1.0.0.0", "", "", ""};
    for (int i = 0; i < reader.count(); ++i) {
        EXPECT_EQ(reader.name(i), names[i]);
        EXPECT_EQ(reader.version(i), versions[i]) << i;
    }
}

TEST(AnAboutBox, ShowsTheVersionsWhenThePictureIsClicked)
{
    InstallFolder folder;
    QImage picture(240, 160, QImage::Format_RGB32);
    picture.fill(QColor(0, 64, 128));
    ASSERT_TRUE(picture.save(folder.file(QStringLiteral("Site.bmp")), "BMP"));
    ProfileFile branding(folder.file(QStringLiteral("fwd.dat")).toStdString());
    (void)branding.writeString("Branding", "AboutImage", "Site.bmp");
    (void)branding.writeString("Branding", "ProductName", "Depot Watch");

    VersionNumberReader reader;
    reader.add(QStringLiteral("GUI"), QStringLiteral("2.5.1.1"));
    reader.add(QStringLiteral("Transport"), QString());
    AboutDialog about(Branding(folder.path()), reader);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Depot Watch"));
    about.show();
    EXPECT_TRUE(about.hasPicture());
    EXPECT_FALSE(about.versionGrid()->isVisible());
    testing::saveScreenshot(about, QStringLiteral("about"));
    QTest::mouseClick(about.picture(), Qt::LeftButton);
    EXPECT_TRUE(about.versionGrid()->isVisible());
    ASSERT_EQ(about.versionGrid()->rowCount(), 2);
    EXPECT_EQ(about.versionGrid()->item(0, 0)->text(), QStringLiteral("GUI"));
    EXPECT_EQ(about.versionGrid()->item(0, 1)->text(), QStringLiteral("2.5.1.1"));
    EXPECT_EQ(about.versionGrid()->item(1, 1)->text(), QString());
    testing::saveScreenshot(about, QStringLiteral("about-versions"));
    about.findChild<QPushButton *>(QStringLiteral("BtnOK"))->click();
    EXPECT_FALSE(about.isVisible());
    about.show();
    EXPECT_FALSE(about.versionGrid()->isVisible());
}

// Nothing in a picture's place holds the tool at start: a FIFO without a writer, a device that
// never ends, a folder.
TEST(AnAboutBox, AndTheSplashGoOnWithoutAPicture)
{
    namespace fs = std::filesystem;
    const std::vector<std::pair<const char *, std::function<void(const fs::path &)>>> rows = {
        {"missing", [](const fs::path &) {}},
        {"fifo", [](const fs::path &p) { ::mkfifo(p.c_str(), 0644); }},
        {"link to /dev/zero", [](const fs::path &p) { fs::create_symlink("/dev/zero", p); }},
        {"folder", [](const fs::path &p) { fs::create_directory(p); }},
    };
    for (const auto &[legend, make] : rows) {
        InstallFolder folder;
        make(folder.file(QStringLiteral("Generic.bmp")).toStdString());
        VersionNumberReader reader;
        const Branding branding(folder.path());
        AboutDialog about(branding, reader);
        about.show();
        EXPECT_FALSE(about.hasPicture()) << legend;
        QTest::mouseClick(about.picture(), Qt::LeftButton);
        EXPECT_TRUE(about.versionGrid()->isVisible()) << legend;
        EXPECT_EQ(makeSplashScreen(branding), nullptr) << legend;
        if (std::string_view(legend) == "missing")
            testing::saveScreenshot(about, QStringLiteral("about-without-picture"));
    }
}

// A branding file that cannot be read gives the defaults and stays as it was.
TEST(TheBrandingFile, GivesItsDefaultsWhenItCannotBeRead)
{
    for (const unreadable::Row &row : unreadable::Rows()) {
        InstallFolder folder;
        const std::filesystem::path path = folder.file(QStringLiteral("fwd.dat")).toStdString();
        row.make(path);
        const std::string before = unreadable::Snapshot(path);
        const Branding branding(folder.path());
        EXPECT_EQ(branding.productName(), QStringLiteral("Forecourt Watch Director")) << row.legend;
        EXPECT_EQ(branding.aboutImage(), folder.file(QStringLiteral("Generic.bmp"))) << row.legend;
        EXPECT_EQ(unreadable::Snapshot(path), before) << row.legend;
    }
}

TEST(TheBrandingFile, HoldsItsDefaultsAfterTheyWereRead)
{
    InstallFolder folder;
    const Branding branding(folder.path());
    EXPECT_EQ(branding.productName(), QStringLiteral("Forecourt Watch Director"));
    EXPECT_EQ(branding.aboutImage(), folder.file(QStringLiteral("Generic.bmp")));
    EXPECT_EQ(branding.splashImage(), folder.file(QStringLiteral("Generic.bmp")));
    const ProfileFile file(folder.file(QStringLiteral("fwd.dat")).toStdString());
    EXPECT_EQ(file.readString("Branding", "ProductName", ""), "Forecourt Watch Director");
    EXPECT_EQ(file.readString("Branding", "AboutImage", ""), "Generic.bmp");
    EXPECT_EQ(file.readString("Branding", "SplashImage", ""), "Generic.bmp");
}

TEST(TheShippedPicture, ShowsInTheSplashAndTheAboutBoxOfADefaultInstall)
{
    // An install links the shipped data files into the install folder.
    InstallFolder folder;
    ASSERT_TRUE(QFile::link(QStringLiteral(ORVEX_SOURCE_DIR "/data/Generic.bmp"),
                            folder.file(QStringLiteral("Generic.bmp"))));
    const Branding branding(folder.path());
    auto splash = makeSplashScreen(branding);
    ASSERT_NE(splash, nullptr);
    splash->show();
    testing::saveScreenshot(*splash, QStringLiteral("splash"));

    VersionNumberReader reader;
    reader.add(QStringLiteral("GUI"), QStringLiteral("2.5.1.1"));
    reader.add(QStringLiteral("Transport"), QStringLiteral("1.0.0.0"));
    AboutDialog about(branding, reader);
    about.show();
    EXPECT_TRUE(about.hasPicture());
    EXPECT_EQ(about.picture()->size(), splash->pixmap().size()) << "the whole picture";
    testing::saveScreenshot(about, QStringLiteral("about-shipped"));
    QTest::mouseClick(about.picture(), Qt::LeftButton);
    testing::saveScreenshot(about, QStringLiteral("about-shipped-versions"));
}

} // namespace
} // namespace configtool
