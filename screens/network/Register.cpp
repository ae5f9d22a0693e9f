#include "screens/skeleton/CardScreens.h"
#include "screens/network/frmComm.h"
#include "screens/network/frmEther.h"
#include "screens/network/frmOP.h"
#include "screens/network/frmOVRT.h"
#include "screens/network/frmQFODH.h"
#include "screens/network/frmQFODHdata.h"
#include "screens/network/frmQx.h"
#include "shell/CommDialogs.h"

namespace talvo::screens {

void RegisterNetworkScreens() {
    using shell::CommDialog;
    shell::RegisterCommDialog(CommDialog::Comm, network::ShowCommDialog);
    shell::RegisterCommDialog(CommDialog::Ether, network::ShowEtherDialog);
    shell::RegisterCommDialog(CommDialog::OP, network::ShowOPDialog);
    shell::RegisterCommDialog(CommDialog::OVRT, network::ShowOVRTDialog);
    shell::RegisterCommDialog(CommDialog::QFODH, network::ShowQFODHDialog);
    registerScreen<network::frmQFODHdata>("QFODH");
    registerScreen<network::frmQx>("Qx");
}

}  // namespace talvo::screens
