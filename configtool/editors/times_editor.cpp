#include "configtool/editors/times_editor.h"

#include "configtool/editors/timings_page.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"

#include "platform/com_error.h"

#include <QSpinBox>

#include <cstdint>

namespace configtool {

namespace {

services::IOrvexConfigData &siteData(const OrvexConfigManager &manager)
{
    const auto data = manager.GetConfigData();
    if (!data)
        throw ComError(E_POINTER);
    return *data;
}

} // namespace

TimesEditor::TimesEditor(OrvexConfigManager &manager, ToolHost &host, TimingsPage &page)
    : WidgetEditor(manager, host), m_page(page)
{
    for (int i = 0; i < TimingsPage::Priorities; ++i) {
        QSpinBox *dwell = page.DwellTimes[static_cast<std::size_t>(i)];
        QSpinBox *intervisit = page.IntervisitTimes[static_cast<std::size_t>(i)];
        connect(dwell, &QSpinBox::valueChanged, this,
                [this, dwell, i] { guard([&] { DwellTimeChanged(dwell, i + 1); }); });
        connect(intervisit, &QSpinBox::valueChanged, this, [this, intervisit, i] {
            guard([&] { IntervisitTimeChanged(intervisit, i + 1); });
        });
    }
}

void TimesEditor::setSpinsEnabled(bool enabled)
{
    for (int i = 0; i < TimingsPage::Priorities; ++i) {
        m_page.DwellTimes[static_cast<std::size_t>(i)]->setEnabled(enabled);
        m_page.IntervisitTimes[static_cast<std::size_t>(i)]->setEnabled(enabled);
    }
}

void TimesEditor::DisableEditing()
{
    setSpinsEnabled(false);
    m_busy = true;
}

void TimesEditor::EnableEditing()
{
    setSpinsEnabled(true);
    m_busy = false;
}

void TimesEditor::Reload()
{
    if (m_busy)
        return;
    services::IOrvexConfigData &data = siteData(manager());
    for (int i = 0; i < TimingsPage::Priorities; ++i) {
        const auto priority = static_cast<std::int16_t>(i + 1);
        std::int16_t dwell = 0;
        std::int16_t intervisit = 0;
        ThrowIfFailed(data.GetDwellTime(priority, &dwell));
        ThrowIfFailed(data.GetIntervisitTime(priority, &intervisit));
        SetControlValue(m_page.DwellTimes[static_cast<std::size_t>(i)], dwell);
        SetControlValue(m_page.IntervisitTimes[static_cast<std::size_t>(i)], intervisit);
    }
}

void TimesEditor::LoadDefaults()
{
    services::IOrvexConfigData &data = siteData(manager());
    const OrvexMetaData &metaData = manager().GetMetaData();
    for (int priority = 1; priority <= TimingsPage::Priorities; ++priority) {
        const auto p = static_cast<std::int16_t>(priority);
        ThrowIfFailed(data.SetDwellTime(p, metaData.GetDefaultDwellTime(priority)));
        ThrowIfFailed(data.SetIntervisitTime(p, metaData.GetDefaultIntervisitTime(priority)));
    }
}

void TimesEditor::DwellTimeChanged(QSpinBox *spin, int priority)
{
    writeTime(spin, priority, MaxDwellTime, &services::IOrvexConfigData::SetDwellTime);
}

void TimesEditor::IntervisitTimeChanged(QSpinBox *spin, int priority)
{
    writeTime(spin, priority, MaxIntervisitTime, &services::IOrvexConfigData::SetIntervisitTime);
}

void TimesEditor::writeTime(QSpinBox *spin, int priority, int most, TimeSetter set)
{
    if (m_busy || m_updating)
        return;
    const int value = ReadClampedInt(spin, 1, most);
    ThrowIfFailed((siteData(manager()).*set)(static_cast<std::int16_t>(priority),
                                             static_cast<std::int16_t>(value)));
    manager().SetModified();
}

} // namespace configtool
