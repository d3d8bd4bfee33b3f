#include "configtool/window/tool_program.h"

#include "configtool/window/branding.h"
#include "configtool/window/frm_main.h"
#include "configtool/window/single_instance.h"
#include "configtool/window/splash_screen.h"

#include "platform/install_folder.h"

#include <QApplication>
#include <QFileInfo>
#include <QSplashScreen>

#include <cstdio>

namespace configtool {

ToolProgram::ToolProgram(Prompter &prompter, FileChooser &fileChooser, QString runtimeFolder)
    : m_prompter(prompter), m_fileChooser(fileChooser),
      m_instance(std::make_unique<SingleInstance>(std::move(runtimeFolder)))
{}

ToolProgram::~ToolProgram()
{
    // The window lets go of the service before the instance's lock goes.
    m_window.reset();
    m_splash.reset();
}

ToolProgram::Outcome ToolProgram::claim(const QStringList &arguments)
{
    m_installFolder = QString::fromStdString(InstallFolder());
    m_branding = std::make_unique<Branding>(m_installFolder);
    m_files.clear();
    if (!arguments.isEmpty())
        m_files << QFileInfo(arguments.constFirst()).absoluteFilePath();
    const QMetaObject::Connection told
        = QObject::connect(m_instance.get(), &SingleInstance::waiting, [] {
              std::fprintf(stderr, "OrvexConfig: waiting for the running configuration tool to "
                                   "finish its start\n");
          });
    const SingleInstance::Claim claim = m_instance->claim(makeOpenRequest(m_files.value(0)));
    QObject::disconnect(told);
    switch (claim) {
    case SingleInstance::Claim::First:
        return Outcome::Running;
    case SingleInstance::Claim::HandedOver:
        return Outcome::HandedOver;
    case SingleInstance::Claim::NoAnswer:
        break;
    }
    std::fprintf(stderr, "OrvexConfig: another instance holds the lock but does not answer\n");
    return Outcome::Failed;
}

ToolProgram::Outcome ToolProgram::start(ServiceBackend &backend)
{
    const QString productName = m_branding->productName();
    m_splash = makeSplashScreen(*m_branding);
    if (m_splash) {
        m_splash->show();
        QApplication::processEvents();
    }

    m_window = std::make_unique<FrmMain>(m_installFolder, backend, m_prompter, m_fileChooser);
    if (!m_window->init(m_files)) {
        m_window.reset();
        m_splash.reset();
        return Outcome::Failed;
    }
    m_window->setWindowTitle(productName);
    m_window->setSplashScreen(m_splash.get());
    QObject::connect(m_instance.get(), &SingleInstance::requested, m_window.get(),
                     &FrmMain::openRequested);
    // Later starts wait for this: their requests come once the start-up has finished.
    if (!m_instance->listen())
        std::fprintf(stderr, "OrvexConfig: cannot take the files of later starts\n");
    m_window->show();
    if (m_splash)
        m_splash->raise();
    return Outcome::Running;
}

} // namespace configtool
