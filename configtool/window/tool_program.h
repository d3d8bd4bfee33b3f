#pragma once
// The start of the OrvexConfig program, in its order: the install folder and the product name,
// the single instance (a later start hands its file to the first one and ends), the splash
// screen, the main window and its start-up, then the open requests of later starts. A start that
// fails ends with the reason shown and no window left behind.
//
// main() runs it on the bus; tests and benchmarks run it on a private bus. User-interface
// thread only.

#include <QString>
#include <QStringList>

#include <memory>

class QSplashScreen;

namespace configtool {

class Branding;
class FileChooser;
class FrmMain;
class Prompter;
class ServiceBackend;
class SingleInstance;

class ToolProgram
{
public:
    enum class Outcome {
        // This is the first instance (claim), or its window is up (start): go on.
        Running,
        // Another instance runs and took the file: end with 0.
        HandedOver,
        // The start failed (said already): end with a non-zero code.
        Failed,
    };

    ToolProgram(Prompter &prompter, FileChooser &fileChooser, QString runtimeFolder);
    ~ToolProgram();
    ToolProgram(const ToolProgram &) = delete;
    ToolProgram &operator=(const ToolProgram &) = delete;

    // The single instance. `arguments` are the command line's, without the program's name; the
    // first names a file, made absolute here (the service opens it in its own working folder).
    Outcome claim(const QStringList &arguments);
    // The splash, the main window and its start-up on the service, and the open requests.
    Outcome start(ServiceBackend &backend);

    [[nodiscard]] FrmMain *window() const { return m_window.get(); }

private:
    Prompter &m_prompter;
    FileChooser &m_fileChooser;
    QString m_installFolder;
    QStringList m_files;
    std::unique_ptr<Branding> m_branding;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<QSplashScreen> m_splash;
    std::unique_ptr<FrmMain> m_window;
};

} // namespace configtool
