#include "configtool/editors/arrow_spin_box.h"
#include "editor_site.h"
#include "screenshots.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace configtool {
namespace {

using testing::EditorSite;
using testing::columnOf;

class ADeviceEditor : public ::testing::Test
{
protected:
    void SetUp() override { tool.newSite(false); }

    // Chooses the type in the add panel and presses "New Device Driver".
    void add(const QString &typeName)
    {
        QComboBox &types = *tool.devicePage.CmbDeviceChooseType;
        types.setCurrentIndex(types.findText(typeName));
        ASSERT_EQ(types.currentText(), typeName);
        QTest::mouseClick(tool.devicePage.BtnAddDevice, Qt::LeftButton);
    }
    int rowOf(const QString &typeName)
    {
        return static_cast<int>(columnOf(grid(), 0).indexOf(typeName)) + 1;
    }
    QString cell(const QString &typeName, int col) { return grid().cell(col, rowOf(typeName)); }
    Mgrid &grid() { return *tool.devicePage.GridDevices; }
    ArrowSpinBox &portSpin() { return *tool.devicePage.SpnDeviceEditPort; }

    // Opens the port field over the device's row and sets it to `port`.
    void movePort(const QString &typeName, int port)
    {
        testing::clickCell(grid(), 1, rowOf(typeName));
        ASSERT_TRUE(portSpin().isVisible());
        portSpin().setValue(port);
    }

    EditorSite tool;
};

TEST_F(ADeviceEditor, GivesANewDeviceItsSiblingsProtocolElseItsCategorysFirst)
{
    tool.addDevice(testing::DispenserLoop1, 5, 2);
    tool.show(*tool.devices);
    struct Case
    {
        QString type;
        QString protocol;
    };
    const Case cases[] = {
        {"Dispenser Loop 2", "Extended"}, // the sibling's, not the category's first
        {"Camera", "Pelco P"},            // first of its category
        {"POS 1", ""},                    // a category without protocols
        {"Door Sensor", ""},
    };
    for (const Case &c : cases) {
        add(c.type);
        EXPECT_EQ(cell(c.type, 2), c.protocol) << c.type.toStdString();
    }
    EXPECT_EQ(columnOf(grid(), 0),
              (QStringList{"Dispenser Loop 1", "Dispenser Loop 2", "Camera", "POS 1", "Door Sensor"}));
    EXPECT_EQ(tool.host.cameraType().value(), 40) << "reading the camera's protocol sets the type";
}

TEST_F(ADeviceEditor, TakesTheHighestFreePortBelowATakenPreferredSeven)
{
    tool.addDevice(testing::DispenserLoop2, 7);
    tool.addDevice(testing::Pos1, 6);
    tool.addDevice(testing::Pos2, 4);
    tool.show(*tool.devices);

    add("Dispenser Loop 3");

    EXPECT_EQ(cell("Dispenser Loop 3", 1), "5");
    EXPECT_TRUE(tool.shown().isEmpty());
}

TEST_F(ADeviceEditor, RefusesAnEighthDeviceBeforeLookingForAPort)
{
    const std::int16_t types[] = {testing::Camera, testing::DispenserLoop1, testing::DispenserLoop2,
                                  testing::DispenserLoop3, testing::Pos1, testing::Pos2, testing::Pos3};
    std::int16_t port = 1;
    for (std::int16_t type : types)
        tool.addDevice(type, port++);
    tool.show(*tool.devices);
    EXPECT_FALSE(tool.devicePage.BtnAddDevice->isEnabled());

    tool.devices->AddNew();

    EXPECT_EQ(tool.shown(), QStringList{"error: Already have the maximum of 7 device drivers"});
    EXPECT_EQ(tool.devices->dataRowCount(), 7);
}

TEST_F(ADeviceEditor, ColoursAndNamesThePortProblemsWhileWritingThePort)
{
    tool.addDevice(testing::Camera, 1, 40);
    tool.addDevice(testing::Pos1, 2);
    tool.show(*tool.devices);
    testing::activate(tool.devicePage);

    struct Step
    {
        int port;
        QColor color;
        QString activity;
    };
    const Step steps[] = {
        {3, WidgetEditor::UnsupportedColor, "Port 3 does not support RS485"},
        {2, WidgetEditor::ErrorColor, "Port 2 is already allocated to POS 1"},
        {7, WidgetEditor::windowColor(), ""},
    };
    for (const Step &step : steps) {
        movePort("Camera", step.port);
        EXPECT_EQ(WidgetEditor::GetControlColor(&portSpin()), step.color) << step.port;
        EXPECT_EQ(tool.activity(), step.activity) << step.port;
        EXPECT_EQ(cell("Camera", 1), QString::number(step.port)) << "written regardless";
        std::int16_t inport = 0;
        std::int16_t outport = 0;
        tool.deviceTable->GetInport(1, &inport);
        tool.deviceTable->GetOutport(1, &outport);
        EXPECT_EQ(inport, step.port);
        EXPECT_EQ(outport, step.port);
        tool.devicePage.CmbDeviceChooseType->setFocus();
    }
}

TEST_F(ADeviceEditor, ShowsThePortFieldInErrorWhenAPortIsShared)
{
    tool.addDevice(testing::DispenserLoop1, 5, 1);
    tool.addDevice(testing::Camera, 1, 40);
    tool.addDevice(testing::Pos1, 2);
    tool.addDevice(testing::DoorSensor, 3);
    tool.show(*tool.devices);
    testing::activate(tool.devicePage);
    movePort("Camera", 3);
    tool.devicePage.CmbDeviceChooseType->setFocus();
    movePort("POS 1", 3);
    testing::saveScreenshot(tool.devicePage, QStringLiteral("device_drivers_port_in_error"));
    EXPECT_EQ(WidgetEditor::GetControlColor(&portSpin()), WidgetEditor::ErrorColor);
}

TEST_F(ADeviceEditor, ChangesTheProtocolInPlaceOnlyWhereThereIsAChoice)
{
    tool.addDevice(testing::DispenserLoop1, 5, 1);
    tool.addDevice(testing::Pos1, 2);
    tool.show(*tool.devices);
    testing::activate(tool.devicePage);

    testing::clickCell(grid(), 2, rowOf("POS 1"));
    EXPECT_EQ(tool.devices->cellControl(), nullptr);

    testing::clickCell(grid(), 2, rowOf("Dispenser Loop 1"));
    QComboBox &protocols = *tool.devicePage.CmbDeviceEditProtocol;
    ASSERT_TRUE(protocols.isVisible());
    EXPECT_EQ(protocols.currentText(), "Standard");
    testing::saveScreenshot(tool.devicePage, QStringLiteral("device_drivers_protocol_open"));
    protocols.setCurrentIndex(protocols.findText("Extended"));
    tool.devicePage.CmbDeviceChooseType->setFocus();

    std::int16_t protocol = 0;
    tool.deviceTable->GetInterface(1, &protocol);
    EXPECT_EQ(protocol, 2);
    EXPECT_EQ(cell("Dispenser Loop 1", 2), "Extended");
}

TEST_F(ADeviceEditor, RefusesToDeleteADriverInUse)
{
    tool.addDevice(testing::DispenserLoop1, 5);
    tool.addDevice(testing::DispenserLoop2, 6);
    tool.addDevice(testing::Camera, 1);
    tool.addDevice(testing::Pos2, 3);
    tool.addDevice(testing::DoorSensor, 4);
    tool.addDispenser(1, 1, 1);
    tool.addCamera(1);
    tool.addPOS(2);
    tool.show(*tool.devices);

    struct Case
    {
        QString type;
        QStringList shown;
    };
    const Case cases[] = {
        {"Dispenser Loop 1", {"error: Dispenser Loop 1 is being used by some dispensers"}},
        {"Camera", {"error: Camera device driver is being used by some cameras"}},
        {"POS 2", {"error: POS device driver is being used by some POSs"}},
        {"Dispenser Loop 2", {}},
        {"Door Sensor", {}},
    };
    for (const Case &c : cases) {
        tool.host.scriptedPrompter.shown.clear();
        grid().setGridRow(rowOf(c.type));
        tool.devices->DeleteCurrent();
        EXPECT_EQ(tool.shown(), c.shown) << c.type.toStdString();
        EXPECT_EQ(rowOf(c.type) > 0, !c.shown.isEmpty()) << c.type.toStdString();
    }
    EXPECT_EQ(columnOf(grid(), 0), (QStringList{"Dispenser Loop 1", "Camera", "POS 2"}));
}

TEST_F(ADeviceEditor, StopsASaveOnASharedPortEvenWhenItsGridIsNotShown)
{
    tool.addDevice(testing::Camera, 1);
    tool.addDevice(testing::Pos1, 2);
    tool.show(*tool.devices);
    // The ports change behind the grid (as after a retrieve) while another tab is in front.
    tool.show(*tool.cameras);
    tool.deviceTable->SetInport(2, 3);
    tool.addDevice(testing::DoorSensor, 3);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("site.ovx"));

    EXPECT_FALSE(tool.manager.SaveSiteAs(file));

    EXPECT_EQ(tool.shown(), QStringList{"error: Have a duplicate port 3"});
    EXPECT_EQ(tool.host.currentEditor(), tool.devices);
    EXPECT_FALSE(QFile::exists(file));
}

// A catalogue of two types, both listed: the site has its own tool (one site per process).
TEST(ADeviceEditorOfASmallCatalogue, NeverAddsADeviceWhenNoTypeIsLeft)
{
    OrvexMetaData small;
    ASSERT_TRUE(small.ReadMetaDataText(R"(<M>
          <DeviceCategory Name="Cameras"><Device Name="Camera" ID="3" PreferredPort="1"/></DeviceCategory>
          <DeviceCategory Name="POSes"><Device Name="POS 1" ID="20" PreferredPort="2"/></DeviceCategory>
        </M>)", QStringLiteral("small")).ok());
    EditorSite smallTool(std::move(small));
    smallTool.newSite(false);
    smallTool.addDevice(testing::Camera, 1);
    smallTool.addDevice(testing::Pos1, 2);
    smallTool.show(*smallTool.devices);

    EXPECT_EQ(smallTool.devicePage.CmbDeviceChooseType->count(), 0);
    EXPECT_FALSE(smallTool.devicePage.BtnAddDevice->isEnabled());
    EXPECT_FALSE(smallTool.devices->CanAdd());
    smallTool.devices->AddNew();

    EXPECT_EQ(smallTool.shown(), QStringList{"error: No device type left to add"});
    EXPECT_EQ(smallTool.count(&services::IDeviceData::Count), 2);
}

TEST_F(ADeviceEditor, ShowsOneBoxForAServiceErrorInAHandlerAndGoesOn)
{
    tool.show(*tool.devices);
    tool.site.configData->failures["RetrieveDevice"] = E_FAIL;
    add("Camera");
    EXPECT_EQ(tool.shown(), QStringList{"error: Unspecified error"});

    tool.site.configData->failures.clear();
    add("POS 1");
    EXPECT_EQ(columnOf(grid(), 0), (QStringList{"Camera", "POS 1"}));
}

TEST_F(ADeviceEditor, ShowsADefaultSiteForReview)
{
    tool.host.scriptedPrompter.yesNoCancel.push_back(Prompter::Answer::No);
    tool.manager.NewSite(true);
    tool.show(*tool.devices);
    testing::activate(tool.devicePage);
    grid().setGridRow(2);
    EXPECT_EQ(columnOf(grid(), 0), (QStringList{"Dispenser Loop 1", "Camera", "POS 1"}));
    EXPECT_EQ(columnOf(grid(), 1), (QStringList{"5", "1", "2"}));
    testing::saveScreenshot(tool.devicePage, QStringLiteral("device_drivers"));
}

} // namespace
} // namespace configtool
