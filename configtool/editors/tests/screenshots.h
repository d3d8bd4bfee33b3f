#pragma once
// Pictures of the pages for people to review, under the build folder's screenshots/.

#include <QDir>
#include <QString>
#include <QWidget>

namespace configtool::testing {

inline QString saveScreenshot(QWidget &widget, const QString &name)
{
    QDir().mkpath(QStringLiteral(ORVEX_SCREENSHOT_DIR));
    const QString path = QStringLiteral(ORVEX_SCREENSHOT_DIR "/") + name + QStringLiteral(".png");
    widget.grab().save(path);
    return path;
}

} // namespace configtool::testing
