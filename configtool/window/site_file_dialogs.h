#pragma once
// The program's FileChooser: the file dialogs for site files. Both list "*.ovx" files (either
// case); a name saved without a suffix gets ".ovx", so the Open dialog shows it afterwards, and
// an existing file is only replaced once the person agreed. User-interface thread only.

#include "configtool/model/file_chooser.h"

namespace configtool {

class SiteFileDialogs : public FileChooser
{
public:
    QString chooseFileToOpen(const QString &startFolder) override;
    QString chooseFileToSave(const QString &startFolder) override;

    [[nodiscard]] static QString nameFilter();
};

} // namespace configtool
