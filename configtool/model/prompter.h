#pragma once
// The questions and boxes the tool puts to the person at the screen. The program shows modal
// boxes captioned with the application's title; tests script the answers, so no test ever waits
// on a box. All calls on the user-interface thread.

#include <QString>

namespace configtool {

class Prompter
{
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompter() = default;

    // A refusal or failure, with an OK button.
    virtual void error(const QString &text) = 0;
    virtual void warning(const QString &text) = 0;
    virtual void information(const QString &text) = 0;
    // "Save changes to the current site" and the like.
    virtual Answer askYesNoCancel(const QString &text) = 0;
    // True for OK.
    virtual bool askOkCancel(const QString &text) = 0;
};

} // namespace configtool
