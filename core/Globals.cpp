#include "core/Globals.h"

#include "core/MainView.h"

namespace talvo {

Globals& G() {
    static Globals g;
    return g;
}

namespace {
MainView* g_view = nullptr;
}

MainView& mainView() {
    static MainViewState fallback;
    return g_view ? *g_view : fallback;
}

void setMainView(MainView* view) { g_view = view; }

void InitGlobals() {
    Globals& g = G();
    g.CurCardNo = 0;
    g.ComPortNo = 1;
    g.StartingUp = true;
    g.CycReadOn = false;

    MainView& v = mainView();
    v.selectCardListEntry(0);
    v.setEnabled(MainControl::cmdComm, false);
    v.setEnabled(MainControl::CmdUpload, false);
    v.setEnabled(MainControl::cmdStart, false);
    v.setEnabled(MainControl::cmdStop, false);
    v.setSpecialSettingFrameVisible(false);
    v.setEnabled(MainControl::mnuConnectDisconnect, false);

    g.ZScaleMin = -32000;
    g.ZScaleMax = 32000;
    g.FScaleMin = -32000;
    g.FScaleMax = 32000;
    g.BiasMin = -320;
    g.BiasMax = 320;
    g.GainMin = -3.2;
    g.GainMax = 3.2;
}

void ClearCardRecords() {
    G().CardTypeUnread.fill(false);
    for (int n = 1; n <= CardRecordTable::kCount; ++n) {
        CardRecord* r = G().CardRecords.get(n);
        r->CardType.clear();
        r->FileType.clear();
        r->Param.clear();
        r->ChOption.clear();
    }
}

CardRecord* CurrentRecord() { return G().CardRecords.get(G().CurCardNo); }

CardRecord& CommCardRecord() { return *G().CardRecords.get(CardRecordTable::kCommCard); }

}  // namespace talvo
