#pragma once
// The open and save dialogs for site files ("*.ovx"). The program shows file dialogs starting in
// the given folder; tests return scripted paths. Paths come back absolute; an empty result means
// the person cancelled. User-interface thread only.

#include <QString>

namespace configtool {

class FileChooser
{
public:
    virtual ~FileChooser() = default;

    // An existing site file.
    virtual QString chooseFileToOpen(const QString &startFolder) = 0;
    // A file to save to; a name typed without a suffix gets ".ovx", and an existing file is
    // only returned once the person agreed to overwrite it.
    virtual QString chooseFileToSave(const QString &startFolder) = 0;
};

} // namespace configtool
