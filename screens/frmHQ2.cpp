#include "screens/frmHQ2.h"

#include "core/Globals.h"
#include "ui/Geometry.h"
#include "shell/SettingTool.h"

namespace talvo::screens {

frmHQ2::frmHQ2(QWidget* parent) : CardScreen("K6-HQ2", parent) {
    cmdUp->hide();
    cmdDown->hide();
    cmdSettings = new QPushButton(QStringLiteral("Settings"), body());
    cmdSettings->setObjectName("cmdSettings");
    ui::placeTwips(cmdSettings, 3600, 2400, 1800, 495);
    connect(cmdSettings, &QPushButton::clicked, this, [this] { cmdSettings_Click(); });
}

void frmHQ2::SetScaleMinMax(const std::string&) {}

void frmHQ2::cmdSettings_Click() { shell::RunSettingTool(window(), G().ComPortNo, cardSlot()); }

}  // namespace talvo::screens
