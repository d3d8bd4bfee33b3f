#include "configtool/window/site_file_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace configtool {

namespace {

QString choose(QFileDialog::AcceptMode mode, const QString &startFolder)
{
    QFileDialog dialog(QApplication::activeWindow(), QString(), startFolder,
                       SiteFileDialogs::nameFilter());
    dialog.setAcceptMode(mode);
    dialog.setDefaultSuffix(QStringLiteral("ovx"));
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
}

} // namespace

QString SiteFileDialogs::nameFilter()
{
    return QStringLiteral("Configuration Files (*.ovx *.OVX)");
}

QString SiteFileDialogs::chooseFileToOpen(const QString &startFolder)
{
    return choose(QFileDialog::AcceptOpen, startFolder);
}

QString SiteFileDialogs::chooseFileToSave(const QString &startFolder)
{
    return choose(QFileDialog::AcceptSave, startFolder);
}

} // namespace configtool
