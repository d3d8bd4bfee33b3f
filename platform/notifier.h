#pragma once
// Texts that the components put before a person (where Windows showed a message box).
//
// Libraries call Notify(); the program decides what a notice does by installing its Notifier:
// the service writes the text to its trace and to stderr and never blocks, the Qt programs show
// a box, tests record. Until one is installed, notices go to stderr. Notify may be called from
// any thread; the installed notifier must be callable from any thread too.

#include <memory>
#include <string_view>

enum class NoticeKind { Information, Warning, Error };

class Notifier
{
public:
    virtual ~Notifier() = default;
    virtual void notify(std::string_view text, NoticeKind kind) = 0;
};

// Installs `notifier` for the whole process and returns the one it replaces; null restores the
// default (stderr).
std::shared_ptr<Notifier> SetNotifier(std::shared_ptr<Notifier> notifier);

void Notify(std::string_view text, NoticeKind kind = NoticeKind::Error);
