#include "configtool/window/box_prompter.h"

#include "configtool/window/branding.h"

#include <QApplication>
#include <QMessageBox>

namespace configtool {

namespace {

QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString &text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, applicationTitle(), text, buttons, QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void BoxPrompter::error(const QString &text)
{
    ask(QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

void BoxPrompter::warning(const QString &text)
{
    ask(QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void BoxPrompter::information(const QString &text)
{
    ask(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

Prompter::Answer BoxPrompter::askYesNoCancel(const QString &text)
{
    switch (ask(QMessageBox::Question, text,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

bool BoxPrompter::askOkCancel(const QString &text)
{
    return ask(QMessageBox::Question, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
           == QMessageBox::Ok;
}

} // namespace configtool
