#include "configtool/model/base_editor.h"

#include "configtool/model/status_panels.h"
#include "configtool/model/tool_host.h"

namespace configtool {

// The base has no status bar of its own: both forms write the main window's activity panel.
void BaseEditor::ShowStatus(bool, const QString &text)
{
    m_host.statusPanels().setPanelText(StatusPanels::Activity, text);
}

void BaseEditor::ClearStatus(bool)
{
    m_host.statusPanels().setPanelText(StatusPanels::Activity, QString());
}

} // namespace configtool
