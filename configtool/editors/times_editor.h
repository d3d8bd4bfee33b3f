#pragma once
// The "Timings" tab: the dwell and intervisit times of the five event priorities, read from
// and written to the service's site data at once. A new site, with or without defaults, gets
// the metadata's default times (1 s for a priority the metadata does not list).
//
// The editor wires its page's spins itself. User-interface thread only.

#include "configtool/editors/widget_editor.h"

#include "interfaces/services/iorvex_config_data.h"

#include <cstdint>

class QSpinBox;

namespace configtool {

class TimingsPage;

class TimesEditor : public WidgetEditor
{
    Q_OBJECT

public:
    static constexpr int MaxDwellTime = 99;
    static constexpr int MaxIntervisitTime = 255;

    TimesEditor(OrvexConfigManager &manager, ToolHost &host, TimingsPage &page);

    void QuickAdd() override {}
    void DeleteCurrent() override {}
    void DisableEditing() override;
    void InitView() override {}
    void AddNew() override {}
    // The site's times; nothing while busy.
    void Reload() override;
    void LoadDefaults() override;
    // A blank site gets the default times too.
    void ClearAll() override { LoadDefaults(); }
    void EnableEditing() override;
    bool Validate() override { return true; }
    bool CanAdd() override { return false; }
    bool CanDelete() override { return false; }
    bool CanSwitchCamera() override { return false; }
    void AfterSiteLoad() override {}

    // A spin of the priority changed: the value, held to its range, goes to the site.
    void DwellTimeChanged(QSpinBox *spin, int priority);
    void IntervisitTimeChanged(QSpinBox *spin, int priority);

private:
    using TimeSetter = HRESULT (services::IOrvexConfigData::*)(std::int16_t, std::int16_t);

    void setSpinsEnabled(bool enabled);
    // The spin's time, held to 1..most, to the site for the priority.
    void writeTime(QSpinBox *spin, int priority, int most, TimeSetter set);

    TimingsPage &m_page;
};

} // namespace configtool
