#include "configtool/editors/preset_page.h"

#include "configtool/editors/arrow_spin_box.h"
#include "configtool/editors/tab_page.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSlider>

namespace configtool {
namespace {

constexpr int PadButton = 34;
constexpr int PadStep = 36;

// An arrow pointing up, turned clockwise by `degrees`.
QIcon arrowIcon(int degrees)
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(10, 10);
    painter.rotate(degrees);
    QPainterPath arrow;
    arrow.moveTo(0, -8);
    arrow.lineTo(7, 0);
    arrow.lineTo(2.5, 0);
    arrow.lineTo(2.5, 8);
    arrow.lineTo(-2.5, 8);
    arrow.lineTo(-2.5, 0);
    arrow.lineTo(-7, 0);
    arrow.closeSubpath();
    painter.fillPath(arrow, QColor(0x20, 0x20, 0x20));
    return QIcon(pixmap);
}

} // namespace

PresetPage::PresetPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PresetPage"));
    resize(TabPageSize);

    GridPresets = addTabGrid(*this, QStringLiteral("GridPresets"), {80, 188}, 13, true);
    TxtEditPresetComment
        = addCellControl<QLineEdit>(*GridPresets, QStringLiteral("TxtEditPresetComment"));

    const int left = GridPresets->geometry().right() + 32;
    label(tr("Camera"), QRect(left, 8, 50, 24));
    BtnPresetsPreviousCamera = button("BtnPresetsPreviousCamera", QStringLiteral("<<"),
                                      QRect(left + 52, 8, 30, 24));
    CmbPresetsSelectCamera = new QComboBox(this);
    CmbPresetsSelectCamera->setObjectName(QStringLiteral("CmbPresetsSelectCamera"));
    CmbPresetsSelectCamera->setGeometry(left + 84, 8, 52, 24);
    BtnPresetsNextCamera = button("BtnPresetsNextCamera", QStringLiteral(">>"),
                                  QRect(left + 138, 8, 30, 24));
    label(tr("Preset"), QRect(left + 180, 8, 44, 24));
    SpnPresetsSelectPreset = new ArrowSpinBox(this);
    SpnPresetsSelectPreset->setObjectName(QStringLiteral("SpnPresetsSelectPreset"));
    SpnPresetsSelectPreset->setRange(1, 1);
    SpnPresetsSelectPreset->setGeometry(left + 224, 8, 56, 24);

    label(tr("Comment"), QRect(left, 40, 60, 24));
    TxtPresetComment = new QLineEdit(this);
    TxtPresetComment->setObjectName(QStringLiteral("TxtPresetComment"));
    TxtPresetComment->setGeometry(left + 62, 40, 218, 24);

    BtnPresetsGotoPreset = button("BtnPresetsGotoPreset", tr("Goto Preset"),
                                  QRect(left, 72, 90, 26));
    BtnPresetsSetPreset = button("BtnPresetsSetPreset", tr("Set Preset"),
                                 QRect(left + 95, 72, 90, 26));
    BtnPresetsClearPresets = button("BtnPresetsClearPresets", tr("Clear Preset"),
                                    QRect(left + 190, 72, 90, 26));

    const QPoint pad(left, 112);
    BtnPresetsUpLeft = moveButton("BtnPresetsUpLeft", 315, pad);
    BtnPresetsUp = moveButton("BtnPresetsUp", 0, pad + QPoint(PadStep, 0));
    BtnPresetsUpRight = moveButton("BtnPresetsUpRight", 45, pad + QPoint(2 * PadStep, 0));
    BtnPresetsLeft = moveButton("BtnPresetsLeft", 270, pad + QPoint(0, PadStep));
    BtnPresetsRight = moveButton("BtnPresetsRight", 90, pad + QPoint(2 * PadStep, PadStep));
    BtnPresetsDownLeft = moveButton("BtnPresetsDownLeft", 225, pad + QPoint(0, 2 * PadStep));
    BtnPresetsDown = moveButton("BtnPresetsDown", 180, pad + QPoint(PadStep, 2 * PadStep));
    BtnPresetsDownRight = moveButton("BtnPresetsDownRight", 135,
                                     pad + QPoint(2 * PadStep, 2 * PadStep));

    const int lens = left + 3 * PadStep + 10;
    const int lensWidth = (left + 280 - lens - 6) / 2;
    const int lensRight = lens + lensWidth + 6;
    BtnPresetsZoomIn = button("BtnPresetsZoomIn", tr("Zoom In"), QRect(lens, 112, lensWidth, 26));
    BtnPresetsZoomOut = button("BtnPresetsZoomOut", tr("Zoom Out"),
                               QRect(lensRight, 112, lensWidth, 26));
    BtnPresetsFocusNear = button("BtnPresetsFocusNear", tr("Focus Near"),
                                 QRect(lens, 143, lensWidth, 26));
    BtnPresetsFocusFar = button("BtnPresetsFocusFar", tr("Focus Far"),
                                QRect(lensRight, 143, lensWidth, 26));
    BtnPresetsIrisOpen = button("BtnPresetsIrisOpen", tr("Iris Open"),
                                QRect(lens, 174, lensWidth, 26));
    BtnPresetsIrisClose = button("BtnPresetsIrisClose", tr("Iris Close"),
                                 QRect(lensRight, 174, lensWidth, 26));

    BtnPresetsAutoPan = button("BtnPresetsAutoPan", tr("Toggle Auto-Pan"),
                               QRect(left, 222, 136, 26));
    BtnPresetsAutoIris = button("BtnPresetsAutoIris", tr("Toggle Auto-Iris"),
                                QRect(left + 144, 222, 136, 26));
    BtnPresetsCameraMenu = button("BtnPresetsCameraMenu", tr("Camera Menu"),
                                  QRect(left + 144, 256, 136, 26));

    label(tr("Speed"), QRect(left, 256, 44, 26));
    TrackBarCameraSpeed = new QSlider(Qt::Horizontal, this);
    TrackBarCameraSpeed->setObjectName(QStringLiteral("TrackBarCameraSpeed"));
    TrackBarCameraSpeed->setRange(1, 10);
    TrackBarCameraSpeed->setValue(5);
    TrackBarCameraSpeed->setPageStep(1);
    TrackBarCameraSpeed->setTickPosition(QSlider::TicksBelow);
    TrackBarCameraSpeed->setTickInterval(1);
    TrackBarCameraSpeed->setGeometry(left + 46, 256, 90, 30);
}

QLabel *PresetPage::label(const QString &text, const QRect &geometry)
{
    auto *shown = new QLabel(text, this);
    shown->setGeometry(geometry);
    shown->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return shown;
}

QPushButton *PresetPage::button(const char *name, const QString &text, const QRect &geometry)
{
    auto *made = new QPushButton(text, this);
    made->setObjectName(QString::fromLatin1(name));
    made->setGeometry(geometry);
    return made;
}

QPushButton *PresetPage::moveButton(const char *name, int degrees, const QPoint &topLeft)
{
    QPushButton *made = button(name, QString(), QRect(topLeft, QSize(PadButton, PadButton)));
    made->setIcon(arrowIcon(degrees));
    made->setIconSize(QSize(20, 20));
    return made;
}

} // namespace configtool
