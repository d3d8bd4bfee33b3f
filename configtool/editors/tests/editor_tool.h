#pragma once
// One tab editor of the tool on the service's site in process: its page, the manager it
// registers with, and a main window stand-in whose current editor it is. Tests build the site
// through the service's own tables (`tables()`), then let the editor reload.

#include "configtool/editors/tests/site_tables.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/model/threadsafe_string_queue.h"
#include "configtool/testing/in_process_site.h"
#include "configtool/testing/recording_host.h"
#include "configtool/testing/test_meta_data.h"

#include <QComboBox>

#include <gtest/gtest.h>

#include <memory>

namespace configtool::testing {

template <typename Editor, typename Page> class EditorTool
{
public:
    explicit EditorTool(OrvexMetaData metaData = testMetaData()) : m_metaData(std::move(metaData))
    {
        manager = std::make_unique<OrvexConfigManager>(m_metaData, host);
        EXPECT_TRUE(manager->Connect(site.backend, queue, 1));
        editor = &static_cast<Editor &>(
            manager->RegisterEditor(std::make_unique<Editor>(*manager, host, page)));
        host.current = editor;
        editor->DisableEditing();
        editor->InitView();
        page.show();
    }
    ~EditorTool()
    {
        // The editor goes with the manager, before its page.
        manager.reset();
    }

    // A new site of the service's, with the metadata's defaults or blank; the editor reloads.
    void newSite(bool withDefaults)
    {
        manager->NewSite(withDefaults);
        ASSERT_TRUE(manager->IsOpenAndIdle());
    }
    SiteTables tables() { return SiteTables(*site.siteData); }

    // A person's choice in a list: the item, then the list's activated signal.
    static void choose(QComboBox &combo, const QString &text)
    {
        const int index = combo.findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo.setCurrentIndex(index);
        emit combo.activated(index);
    }

    InProcessSite site;
    RecordingHost host;
    ThreadsafeStringQueue queue;
    std::unique_ptr<OrvexConfigManager> manager;
    Page page;
    Editor *editor = nullptr;

private:
    OrvexMetaData m_metaData;
};

} // namespace configtool::testing
