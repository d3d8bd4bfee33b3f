#include "configtool/editors/widget_editor.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QSpinBox>

namespace configtool {
namespace {

bool isMaskedEdit(const QWidget *control)
{
    const auto *edit = qobject_cast<const QLineEdit *>(control);
    return edit && !edit->inputMask().isEmpty();
}

// Restores the updating flag on every exit.
class UpdatingScope
{
public:
    UpdatingScope(bool &flag, bool during) : m_flag(flag), m_before(flag) { m_flag = during; }
    ~UpdatingScope() { m_flag = m_before; }
    UpdatingScope(const UpdatingScope &) = delete;
    UpdatingScope &operator=(const UpdatingScope &) = delete;

private:
    bool &m_flag;
    bool m_before;
};

} // namespace

WidgetEditor::WidgetEditor(OrvexConfigManager &manager, ToolHost &host)
    : BaseEditor(manager, host)
{
}

QColor WidgetEditor::windowColor()
{
    return QApplication::palette().color(QPalette::Base);
}

void WidgetEditor::SetControlValue(QWidget *control, int value)
{
    m_updating = true;
    if (auto *spin = qobject_cast<QSpinBox *>(control))
        spin->setValue(value);
    else if (isMaskedEdit(control))
        static_cast<QLineEdit *>(control)->setText(QString::number(value));
    m_updating = false;
}

void WidgetEditor::WriteControlValue(QWidget *control, int value)
{
    UpdatingScope scope(m_updating, true);
    if (auto *spin = qobject_cast<QSpinBox *>(control))
        spin->setValue(value);
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
        edit->setText(QString::number(value));
}

int WidgetEditor::ReadClampedInt(QWidget *control, int min, int max)
{
    bool isNumber = true;
    int value = 0;
    if (auto *spin = qobject_cast<QSpinBox *>(control))
        value = spin->cleanText().trimmed().toInt(&isNumber, 10);
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
        value = edit->text().trimmed().toInt(&isNumber, 10);
    if (!isNumber || value < min) {
        WriteControlValue(control, min);
        return min;
    }
    if (value > max) {
        WriteControlValue(control, max);
        return max;
    }
    return value;
}

void WidgetEditor::SelectComboText(QComboBox *combo, const QString &text)
{
    UpdatingScope scope(m_updating, true);
    combo->setCurrentIndex(0);
    const int match = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (match >= 0)
        combo->setCurrentIndex(match);
}

void WidgetEditor::SetControlColor(QWidget *control, const QColor &color)
{
    if (!qobject_cast<QSpinBox *>(control) && !isMaskedEdit(control))
        return;
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, color);
    control->setPalette(palette);
}

QColor WidgetEditor::GetControlColor(const QWidget *control)
{
    if (!qobject_cast<const QSpinBox *>(control) && !isMaskedEdit(control))
        return windowColor();
    return control->palette().color(QPalette::Base);
}

} // namespace configtool
