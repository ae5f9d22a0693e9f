#include "screens/skeleton/CardScreens.h"
#include "screens/wireless/frmWireless.h"
#include "shell/CommDialogs.h"

namespace talvo::screens {

void RegisterWirelessScreens() {
    using shell::CommDialog;
    using wireless::WirelessModel;
    const std::pair<CommDialog, WirelessModel> kinds[] = {{CommDialog::OXF, WirelessModel::OXF},
                                                          {CommDialog::OXF1F, WirelessModel::OXF1F},
                                                          {CommDialog::OG, WirelessModel::OG}};
    for (const auto& [kind, model] : kinds)
        shell::RegisterCommDialog(kind, [model](QWidget* owner) { wireless::ShowWirelessDialog(model, owner); });
}

}  // namespace talvo::screens
