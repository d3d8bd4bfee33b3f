#include "configtool/editors/arrow_spin_box.h"
#include "configtool/editors/widget_editor.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/testing/recording_host.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace configtool {
namespace {

class PlainEditor : public WidgetEditor
{
public:
    using WidgetEditor::WidgetEditor;
    void QuickAdd() override {}
    void DeleteCurrent() override {}
    void DisableEditing() override {}
    void InitView() override {}
    void AddNew() override {}
    void Reload() override {}
    void LoadDefaults() override {}
    void ClearAll() override {}
    void EnableEditing() override {}
    bool Validate() override { return true; }
    bool CanAdd() override { return false; }
    bool CanDelete() override { return false; }
    void AfterSiteLoad() override {}

    void setUpdating(bool on) { m_updating = on; }
};

struct HelperTool
{
    testing::RecordingHost host;
    OrvexMetaData metaData;
    OrvexConfigManager manager{metaData, host};
    PlainEditor editor{manager, host};
};

std::unique_ptr<QWidget> spinHolding(const QString &text)
{
    auto spin = std::make_unique<ArrowSpinBox>();
    spin->setRange(-1000, 1000);
    spin->textLine()->setText(text);
    return spin;
}

std::unique_ptr<QWidget> editHolding(const QString &text, bool masked)
{
    auto edit = std::make_unique<QLineEdit>();
    if (masked)
        edit->setInputMask(QStringLiteral("#####"));
    edit->setText(text);
    return edit;
}

QString shownText(QWidget &control)
{
    if (auto *spin = qobject_cast<QSpinBox *>(&control))
        return spin->text();
    if (auto *edit = qobject_cast<QLineEdit *>(&control))
        return edit->text().trimmed();
    return QStringLiteral("-");
}

TEST(AWidgetEditor, ReadsAFieldClampedToItsBoundsAndShowsTheBound)
{
    struct Case
    {
        const char *legend;
        std::function<std::unique_ptr<QWidget>()> make;
        int min;
        int max;
        int read;
        QString shown;
    };
    const Case cases[] = {
        {"spin in range", [] { return spinHolding("5"); }, 1, 7, 5, "5"},
        {"spin above", [] { return spinHolding("150"); }, 1, 99, 99, "99"},
        {"spin below", [] { return spinHolding("0"); }, 1, 7, 1, "1"},
        {"spin holding no number", [] { return spinHolding("abc"); }, 3, 7, 3, "3"},
        {"plain edit holding no number", [] { return editHolding("abc", false); }, 1, 16, 1, "1"},
        {"plain edit above", [] { return editHolding("150", false); }, 1, 99, 99, "99"},
        {"masked edit in range", [] { return editHolding("12", true); }, 1, 99, 12, "12"},
        {"masked edit empty", [] { return editHolding("", true); }, 2, 99, 2, "2"},
        {"other control", [] { return std::make_unique<QLabel>("42"); }, 1, 7, 1, "-"},
        {"other control, zero in range", [] { return std::make_unique<QLabel>("42"); }, 0, 7, 0,
         "-"},
    };
    for (const Case &c : cases) {
        HelperTool tool;
        auto control = c.make();
        EXPECT_EQ(tool.editor.ReadClampedInt(control.get(), c.min, c.max), c.read) << c.legend;
        EXPECT_EQ(shownText(*control), c.shown) << c.legend;
        EXPECT_FALSE(tool.editor.isUpdating()) << c.legend;
    }
}

TEST(AWidgetEditor, WritesTheBoundBackWithoutTheChangeHandlerSeeingIt)
{
    HelperTool tool;
    ArrowSpinBox spin;
    spin.setRange(1, 99);
    spin.setValue(50);
    spin.textLine()->setText(QStringLiteral("x"));
    bool handledWhileUpdating = false;
    QObject::connect(&spin, &QSpinBox::valueChanged,
                     [&] { handledWhileUpdating = !tool.editor.isUpdating(); });

    tool.editor.ReadClampedInt(&spin, 1, 99);

    EXPECT_FALSE(handledWhileUpdating);
    EXPECT_EQ(spin.value(), 1);
}

TEST(AWidgetEditor, SetsOrRestoresTheUpdatingFlagAroundItsWrites)
{
    HelperTool tool;
    ArrowSpinBox spin;
    QLineEdit plain;
    bool sawUpdating = false;
    QObject::connect(&spin, &QSpinBox::valueChanged,
                     [&] { sawUpdating = tool.editor.isUpdating(); });

    tool.editor.setUpdating(true);
    tool.editor.WriteControlValue(&spin, 4);
    EXPECT_TRUE(sawUpdating);
    EXPECT_TRUE(tool.editor.isUpdating()) << "WriteControlValue restores what was set";

    tool.editor.SetControlValue(&spin, 5);
    EXPECT_FALSE(tool.editor.isUpdating()) << "SetControlValue clears it";

    tool.editor.SetControlValue(&plain, 6);
    EXPECT_EQ(plain.text(), QString()) << "a plain edit is not a field of SetControlValue";
    tool.editor.WriteControlValue(&plain, 6);
    EXPECT_EQ(plain.text(), "6");
}

TEST(AWidgetEditor, SelectsAComboTextOrElseItsFirstItem)
{
    HelperTool tool;
    QComboBox combo;
    combo.addItems({"Pelco D", "Pelco P", "pelco p"});
    int changes = 0;
    QObject::connect(&combo, &QComboBox::currentIndexChanged, [&] {
        if (!tool.editor.isUpdating())
            ++changes;
    });

    tool.editor.SelectComboText(&combo, QStringLiteral("pelco p"));
    EXPECT_EQ(combo.currentIndex(), 2) << "exact and case-sensitive";
    tool.editor.SelectComboText(&combo, QStringLiteral("Kalatel"));
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(changes, 0);
}

TEST(AWidgetEditor, ColoursOnlyNumberAndMaskedFields)
{
    ArrowSpinBox spin;
    QLineEdit masked;
    masked.setInputMask(QStringLiteral("99"));
    QLineEdit plain;
    QLabel label;
    for (QWidget *control : {static_cast<QWidget *>(&spin), static_cast<QWidget *>(&masked),
                             static_cast<QWidget *>(&plain), static_cast<QWidget *>(&label)})
        WidgetEditor::SetControlColor(control, WidgetEditor::UnsupportedColor);

    EXPECT_EQ(WidgetEditor::GetControlColor(&spin), QColor(255, 128, 0));
    EXPECT_EQ(WidgetEditor::GetControlColor(&masked), QColor(255, 128, 0));
    EXPECT_EQ(WidgetEditor::GetControlColor(&plain), WidgetEditor::windowColor());
    EXPECT_EQ(plain.palette().color(QPalette::Base), WidgetEditor::windowColor());
    EXPECT_EQ(WidgetEditor::GetControlColor(&label), WidgetEditor::windowColor());
}

} // namespace
} // namespace configtool
