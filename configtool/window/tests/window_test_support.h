#pragma once
// Helpers of the window tests: pictures for review, a temporary install folder, waiting on the
// event loop (time-outs stretched for slow builds as the engine's tests stretch theirs).

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

#include "support/tests/time_scale.h"

#include <gtest/gtest.h>

#include <chrono>

namespace configtool::testing {

// Writes the widget's picture to screenshots/<name>.png of the build folder.
inline void saveScreenshot(QWidget &widget, const QString &name)
{
    QDir().mkpath(QStringLiteral(ORVEX_SCREENSHOT_DIR));
    const QString path = QStringLiteral(ORVEX_SCREENSHOT_DIR "/") + name + QStringLiteral(".png");
    EXPECT_TRUE(widget.grab().save(path)) << path.toStdString();
}

template <typename Predicate>
bool waitUntil(Predicate predicate,
               std::chrono::milliseconds timeout = scaled(std::chrono::seconds(10)))
{
    const QDeadlineTimer deadline(timeout);
    while (!predicate()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

inline void writeAll(const QString &path, const QByteArray &text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(text);
}

// An install folder of the test's own.
struct InstallFolder
{
    QTemporaryDir dir;
    [[nodiscard]] QString path() const { return dir.path(); }
    [[nodiscard]] QString file(const QString &name) const { return dir.filePath(name); }
    [[nodiscard]] QString settings() const { return file(QStringLiteral("OrvexSettings.ini")); }
};

} // namespace configtool::testing
