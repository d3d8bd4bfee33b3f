#pragma once
// What the tool's logic (the configuration manager, the editors, the iterators) needs from the
// main window that holds it. The main window implements it; tests implement it with recording
// fakes. Nothing behind it may block a test: boxes and file choices go through the Prompter and
// the FileChooser it hands out. User-interface thread only.

#include <QString>

namespace configtool {

class BaseEditor;
class CameraTypeState;
class FileChooser;
class Prompter;
class StatusPanels;
struct CommandState;

class ToolHost
{
public:
    virtual ~ToolHost() = default;

    virtual Prompter &prompter() = 0;
    virtual FileChooser &fileChooser() = 0;
    virtual StatusPanels &statusPanels() = 0;
    virtual CameraTypeState &cameraType() = 0;

    // The editor of the active tab; null before the editors exist.
    [[nodiscard]] virtual BaseEditor *currentEditor() = 0;
    // Brings the editor's tab to the front (a failed validation shows its tab).
    virtual void makeActivePage(BaseEditor &editor) = 0;

    // True while a command that opens or creates a site runs (File New, File Open, the command
    // line, an open request); commands that would start another such command are ignored then.
    [[nodiscard]] virtual bool isLoading() const = 0;
    virtual void setLoading(bool loading) = 0;

    // Saves the working site: asks for a file first when the site is new. False when the person
    // cancelled the dialog or the site was not written.
    virtual bool saveSiteWithSaveDialog() = 0;

    virtual void applyCommandState(const CommandState &state) = 0;

    // The hourglass over the whole application; calls nest.
    virtual void beginWaitCursor() = 0;
    virtual void endWaitCursor() = 0;

    // The folder "Data" of the install folder, made when missing: where the file dialogs start.
    [[nodiscard]] virtual QString dataDirectory() = 0;
};

} // namespace configtool
