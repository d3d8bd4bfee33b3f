#include "error_box_notifier.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

namespace monitor {

namespace {

void showBox(const QString &text, NoticeKind kind)
{
    const QString title = QStringLiteral("Orvex Monitor");
    switch (kind) {
    case NoticeKind::Information:
        QMessageBox::information(nullptr, title, text);
        return;
    case NoticeKind::Warning:
        QMessageBox::warning(nullptr, title, text);
        return;
    case NoticeKind::Error:
        QMessageBox::critical(nullptr, title, text);
        return;
    }
}

} // namespace

void ErrorBoxNotifier::notify(std::string_view text, NoticeKind kind)
{
    const QString message = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QCoreApplication *app = QCoreApplication::instance();
    if (app == nullptr)
        return;
    if (QThread::currentThread() == app->thread()) {
        showBox(message, kind);
        return;
    }
    QMetaObject::invokeMethod(
        app, [message, kind] { showBox(message, kind); }, Qt::QueuedConnection);
}

} // namespace monitor
