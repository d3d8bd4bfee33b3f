#pragma once
// The program's Prompter: modal message boxes over the active window, captioned with the
// application's title. User-interface thread only.

#include "configtool/model/prompter.h"

namespace configtool {

class BoxPrompter : public Prompter
{
public:
    void error(const QString &text) override;
    void warning(const QString &text) override;
    void information(const QString &text) override;
    Answer askYesNoCancel(const QString &text) override;
    bool askOkCancel(const QString &text) override;
};

} // namespace configtool
