// OrvexConfig: the site engineer's configuration tool.
#include "configtool/window/box_prompter.h"
#include "configtool/window/single_instance.h"
#include "configtool/window/site_file_dialogs.h"
#include "configtool/window/tool_program.h"

#include "configtool/model/bus_service_backend.h"
#include "serviceclient/service_bus.h"

#include <QApplication>

#include <exception>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("OrvexConfig"));

    configtool::BoxPrompter prompter;
    configtool::SiteFileDialogs fileDialogs;
    // Made once this is the only instance; they outlive the program's window, which uses them.
    std::unique_ptr<serviceclient::ServiceBus> bus;
    std::unique_ptr<configtool::BusServiceBackend> backend;
    configtool::ToolProgram program(prompter, fileDialogs,
                                    configtool::SingleInstance::defaultRuntimeFolder());
    switch (program.claim(QApplication::arguments().mid(1))) {
    case configtool::ToolProgram::Outcome::HandedOver:
        return 0;
    case configtool::ToolProgram::Outcome::Failed:
        return 1;
    case configtool::ToolProgram::Outcome::Running:
        break;
    }

    try {
        bus = std::make_unique<serviceclient::ServiceBus>();
    } catch (const std::exception &error) {
        prompter.error(QStringLiteral("Unable to connect to OrvexServices. ")
                       + QString::fromUtf8(error.what()));
        return 1;
    }
    backend = std::make_unique<configtool::BusServiceBackend>(*bus);
    if (program.start(*backend) != configtool::ToolProgram::Outcome::Running)
        return 1;
    return QApplication::exec();
}
