#pragma once
// A main window stand-in for the tool's logic: it records the boxes, panel texts and command
// states it is given and answers questions and file choices from scripts.

#include "configtool/model/base_editor.h"
#include "configtool/model/camera_type_state.h"
#include "configtool/model/command_state.h"
#include "configtool/model/file_chooser.h"
#include "configtool/model/prompter.h"
#include "configtool/model/status_panels.h"
#include "configtool/model/tool_host.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

namespace configtool::testing {

class ScriptedPrompter : public Prompter
{
public:
    void error(const QString &text) override { shown << QStringLiteral("error: ") + text; }
    void warning(const QString &text) override { shown << QStringLiteral("warning: ") + text; }
    void information(const QString &text) override { shown << QStringLiteral("info: ") + text; }
    Answer askYesNoCancel(const QString &text) override
    {
        shown << QStringLiteral("ask: ") + text;
        return take(yesNoCancel, Answer::Cancel);
    }
    bool askOkCancel(const QString &text) override
    {
        shown << QStringLiteral("ask: ") + text;
        return take(okCancel, false);
    }

    QStringList shown;
    std::deque<Answer> yesNoCancel;
    std::deque<bool> okCancel;

private:
    template <typename T> static T take(std::deque<T> &script, T fallback)
    {
        if (script.empty())
            return fallback;
        T answer = script.front();
        script.pop_front();
        return answer;
    }
};

class ScriptedFileChooser : public FileChooser
{
public:
    QString chooseFileToOpen(const QString &) override { return take(); }
    QString chooseFileToSave(const QString &) override { return take(); }

    std::deque<QString> paths;

private:
    QString take()
    {
        if (paths.empty())
            return QString();
        QString path = paths.front();
        paths.pop_front();
        return path;
    }
};

class RecordingPanels : public StatusPanels
{
public:
    void setPanelText(Panel panel, const QString &text) override { texts[panel] = text; }
    QString panelText(Panel panel) const override { return texts[panel]; }

    QString texts[3];
};

class RecordingHost : public ToolHost
{
public:
    Prompter &prompter() override { return scriptedPrompter; }
    FileChooser &fileChooser() override { return scriptedChooser; }
    StatusPanels &statusPanels() override { return panels; }
    CameraTypeState &cameraType() override { return cameraTypeState; }
    BaseEditor *currentEditor() override { return current; }
    void makeActivePage(BaseEditor &editor) override { current = &editor; }
    bool isLoading() const override { return loading; }
    void setLoading(bool on) override { loading = on; }
    bool saveSiteWithSaveDialog() override
    {
        ++saveDialogRequests;
        return saveWithDialog ? saveWithDialog() : saveResult;
    }
    void applyCommandState(const CommandState &state) override { commands = state; }
    void beginWaitCursor() override { ++waitDepth; }
    void endWaitCursor() override { --waitDepth; }
    QString dataDirectory() override { return dataFolder; }

    ScriptedPrompter scriptedPrompter;
    ScriptedFileChooser scriptedChooser;
    RecordingPanels panels;
    CameraTypeState cameraTypeState;
    BaseEditor *current = nullptr;
    bool loading = false;
    bool saveResult = false;
    // What the main window does for a save with the dialog, when a test needs a real save.
    std::function<bool()> saveWithDialog;
    int saveDialogRequests = 0;
    CommandState commands;
    int waitDepth = 0;
    QString dataFolder;
};

} // namespace configtool::testing
