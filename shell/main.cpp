// TALVO: the configurator of a K6 remote I/O station.
#include <QApplication>
#include <QDir>

#include "platform/qt/QtServices.h"
#include "screens/skeleton/CardScreens.h"
#include "shell/frmTalvo.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(talvo::platform::kAppTitle);
    // The program folder is the working folder, where the file dialogs start.
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    talvo::platform::QtPlatform platform;
    talvo::screens::RegisterCardScreens();
    talvo::shell::frmTalvo window;
    window.show();
    return QApplication::exec();
}
