#pragma once
// An editor with widgets: the base editor's helpers for the number fields, text fields and
// lists of a tab, each honouring the editor's updating flag, and the guard that every handler
// of a control runs under. The grid editors and the Timings editor derive from it.
//
// A "spin" is a QSpinBox, a "masked edit" a QLineEdit with an input mask, a "plain edit" any
// other QLineEdit. User-interface thread only.

#include "configtool/model/base_editor.h"
#include "configtool/model/guarded.h"
#include "configtool/model/tool_host.h"

#include <QColor>
#include <QObject>

class QComboBox;
class QWidget;

namespace configtool {

class WidgetEditor : public QObject, public BaseEditor
{
    Q_OBJECT

public:
    // A field in error: a conflict with another row, a missing loop.
    static inline const QColor ErrorColor{0xFF, 0x00, 0x00};
    // A port that lacks a capability its device needs.
    static inline const QColor UnsupportedColor{0xFF, 0x80, 0x00};

    WidgetEditor(OrvexConfigManager &manager, ToolHost &host);

    // The background of a valid field.
    [[nodiscard]] static QColor windowColor();

    // Shows the number in a spin or masked edit with the updating flag set, then clears it.
    void SetControlValue(QWidget *control, int value);
    // Shows the number in a spin, masked or plain edit; the updating flag is restored after.
    void WriteControlValue(QWidget *control, int value);
    // The field's number held to min..max; a value out of range or text that is no number is
    // replaced by the nearest bound (min for no number), which the field then shows. Any other
    // control reads as 0 before the bounds apply.
    int ReadClampedInt(QWidget *control, int min, int max);
    // Item 0, then the first item with exactly that text (updating set meanwhile).
    void SelectComboText(QComboBox *combo, const QString &text);
    // Background of a spin or masked edit; other controls are left alone.
    static void SetControlColor(QWidget *control, const QColor &color);
    // Background of a spin or masked edit; the window colour for any other control.
    [[nodiscard]] static QColor GetControlColor(const QWidget *control);

    [[nodiscard]] bool isUpdating() const { return m_updating; }

protected:
    // Runs a handler of a person's action: an error ends it with an error box, never the
    // program.
    template <typename Handler>
    void guard(Handler &&handler)
    {
        guarded(host().prompter(), std::forward<Handler>(handler));
    }
};

} // namespace configtool
