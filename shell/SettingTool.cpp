#include "shell/SettingTool.h"

#include <QCoreApplication>
#include <QWidget>
#include <string>

#include "core/Connection.h"
#include "core/Globals.h"
#include "platform/Services.h"

namespace talvo::shell {

void RunSettingTool(QWidget* mainWindow, int comPortNo, int slot) {
    platform::Services& s = platform::services();
    if (mainWindow) mainWindow->hide();
    const bool wasOpen = s.serial && s.serial->isOpen();
    if (wasOpen) s.serial->close();

    const std::string program = QCoreApplication::applicationDirPath().toLocal8Bit().toStdString() + "/TALVO_HQ";
    const bool ran = s.processes && s.processes->runAndWait(program, {std::to_string(comPortNo), std::to_string(slot)});
    if (!ran && s.messages) s.messages->show("Can't execute TALVO_HQ.exe", "", platform::MsgIcon::Stop);

    // The tool may have taken the port meanwhile: a port that cannot be had again
    // leaves the program disconnected rather than looking connected.
    if (wasOpen && !s.serial->open(comPortNo, G().BaudRate.empty() ? "9600,n,8,1" : G().BaudRate + ",n,8,1")) {
        DisconnectDevice();
        if (s.messages) s.messages->show("invalid port", "", platform::MsgIcon::None);
    }
    if (mainWindow) mainWindow->show();
}

}  // namespace talvo::shell
