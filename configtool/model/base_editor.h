#pragma once
// The editor of one tab of the main window, as the configuration manager drives it at every site
// change and command. Grid editors (six tabs) and the Timings editor derive from it; the widget
// side of an editor lives in configtool/editors.
//
// The manager owns every editor (RegisterEditor) and calls them in registration order. While an
// editor is busy (DisableEditing until EnableEditing) its change operations, adds and deletes do
// nothing. Failing service calls raise ComError out of these operations; the caller's guarded()
// shows the text. User-interface thread only.

#include <QString>

namespace configtool {

class OrvexConfigManager;
class ToolHost;

class BaseEditor
{
public:
    BaseEditor(OrvexConfigManager &manager, ToolHost &host) : m_manager(manager), m_host(host) {}
    virtual ~BaseEditor() = default;
    BaseEditor(const BaseEditor &) = delete;
    BaseEditor &operator=(const BaseEditor &) = delete;

    // Activity panel of the main window; grid editors may send it to a status bar of their own.
    virtual void ShowStatus(bool toMainWindow, const QString &text);
    virtual void ClearStatus(bool toMainWindow);

    virtual void QuickAdd() = 0;
    // Deletes the selected record (Edit Delete).
    virtual void DeleteCurrent() = 0;
    virtual void DisableEditing() = 0;
    // Builds the empty view once, after creation.
    virtual void InitView() = 0;
    // Adds a record from the tab's add panel (Edit New, the tab's add button).
    virtual void AddNew() = 0;
    // Refills the view from the site; nothing while busy.
    virtual void Reload() = 0;
    // A new site with defaults / a new blank site.
    virtual void LoadDefaults() = 0;
    virtual void ClearAll() = 0;
    virtual void EnableEditing() = 0;
    // Checks the tab before a save; false stops the save (the editor has said why).
    virtual bool Validate() = 0;
    // Whether Edit New and Edit Delete are enabled for this tab.
    virtual bool CanAdd() = 0;
    virtual bool CanDelete() = 0;
    virtual bool CanSwitchCamera() { return false; }
    // Called for every editor after a site was loaded or created.
    virtual void AfterSiteLoad() = 0;
    // Grid editors show their placeholder row when the site is closed; others show nothing.
    virtual void ShowEmpty() {}

    [[nodiscard]] bool isBusy() const { return m_busy; }

protected:
    [[nodiscard]] OrvexConfigManager &manager() const { return m_manager; }
    [[nodiscard]] ToolHost &host() const { return m_host; }

    // Set while the editor itself writes into one of its controls, so that the control's change
    // handler ignores the change.
    bool m_updating = false;
    bool m_busy = false;

private:
    OrvexConfigManager &m_manager;
    ToolHost &m_host;
};

} // namespace configtool
