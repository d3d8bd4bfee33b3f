#pragma once
// A tab editor stand-in for the manager's tests: every slot the manager drives is written to a
// shared log as "<name>:<slot>", and the answers of Validate, CanAdd and CanDelete are set by
// the test.

#include "configtool/model/base_editor.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace configtool::testing {

class RecordingEditor : public BaseEditor
{
public:
    RecordingEditor(OrvexConfigManager &manager, ToolHost &host, QString name,
                    std::shared_ptr<QStringList> log)
        : BaseEditor(manager, host), m_name(std::move(name)), m_log(std::move(log))
    {}

    void QuickAdd() override { record("QuickAdd"); }
    void DeleteCurrent() override { record("DeleteCurrent"); }
    void DisableEditing() override
    {
        enabled = false;
        record("DisableEditing");
    }
    void InitView() override { record("InitView"); }
    void AddNew() override { record("AddNew"); }
    void Reload() override { record("Reload"); }
    void LoadDefaults() override { record("LoadDefaults"); }
    void ClearAll() override { record("ClearAll"); }
    void EnableEditing() override
    {
        enabled = true;
        record("EnableEditing");
    }
    bool Validate() override
    {
        record("Validate");
        return valid;
    }
    bool CanAdd() override { return canAdd; }
    bool CanDelete() override { return canDelete; }
    void AfterSiteLoad() override { record("AfterSiteLoad"); }
    void ShowEmpty() override { record("ShowEmpty"); }

    bool valid = true;
    bool canAdd = true;
    bool canDelete = true;
    bool enabled = false;

private:
    void record(const char *slot) { *m_log << m_name + QLatin1Char(':') + QLatin1String(slot); }

    QString m_name;
    std::shared_ptr<QStringList> m_log;
};

} // namespace configtool::testing
