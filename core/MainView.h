#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "core/Colors.h"

namespace talvo {

// The main window's elements that the core changes: the commands and menus, the
// link indicator, the "SpecialSetting" frame and the card list selection.
enum class MainControl {
    cmdComm,
    CmdUpload,
    cmdStart,
    cmdStop,
    cmdOverView,
    cmdSpecialSetting,
    cmdSWcheck,
    cboCardNo,
    mnuFilesOpen,
    mnuFilesSave,
    mnuConnect,
    mnuConnectConnect,
    mnuConnectDisconnect,
};


class MainView {
public:
    virtual ~MainView() = default;
    virtual void setEnabled(MainControl c, bool on) = 0;
    virtual bool isEnabled(MainControl c) const = 0;
    virtual void setSpecialSettingFrameVisible(bool visible) = 0;
    virtual void setSpecialSettingCaption(const std::string& caption) = 0;
    virtual void selectCardListEntry(int index) = 0;
    virtual void setLink(std::uint32_t lampColor, const std::string& comPort, const std::string& status) = 0;

    // The progress window of a transfer ("Uploading", "Downloading").
    virtual void showProgress(int steps, const std::string& caption) = 0;
    virtual void setProgress(int value) = 0;
    virtual int progress() const = 0;
    virtual void closeProgress() = 0;

    // Which actuators are still owed a stop ("" for none): shown until the card answered it.
    virtual void setStopsOwed(const std::string& text) = 0;
};

// A view that only remembers what it was told: what the window shows, and what
// tests read back.
class MainViewState : public MainView {
public:
    void setEnabled(MainControl c, bool on) override { enabled[c] = on; }
    bool isEnabled(MainControl c) const override {
        auto it = enabled.find(c);
        return it != enabled.end() && it->second;
    }
    void setSpecialSettingFrameVisible(bool visible) override { specialFrameVisible = visible; }
    void setSpecialSettingCaption(const std::string& caption) override { specialCaption = caption; }
    void selectCardListEntry(int index) override { cardListIndex = index; }
    void setLink(std::uint32_t lamp, const std::string& port, const std::string& status) override {
        lampColor = lamp;
        comPortText = port;
        statusText = status;
    }

    void showProgress(int steps, const std::string& caption) override {
        progressVisible = true;
        progressMax = steps;
        progressValue = 0;
        progressCaption = caption;
    }
    void setProgress(int value) override { progressValue = value; }
    int progress() const override { return progressValue; }
    void closeProgress() override { progressVisible = false; }
    void setStopsOwed(const std::string& text) override { stopsOwedText = text; }

    std::map<MainControl, bool> enabled;
    bool specialFrameVisible = false;
    std::string specialCaption = "SpecialSetting";
    int cardListIndex = 0;
    std::uint32_t lampColor = colors::Navy;
    std::string comPortText;
    std::string statusText = "Disconnected";
    bool progressVisible = false;
    int progressMax = 0;
    int progressValue = 0;
    std::string progressCaption;
    std::string stopsOwedText;
};

// The view the core talks to. Until a window registers itself, a private
// MainViewState stands in, so core routines run without any window.
MainView& mainView();
void setMainView(MainView* view);

}  // namespace talvo
