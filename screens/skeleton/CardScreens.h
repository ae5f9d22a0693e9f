#pragma once
#include <QWidget>

#include "shell/ChildForms.h"

namespace talvo::screens {

// Makes every built card screen known to the main window's client area by its
// screen code, so that picking a slot opens it.
void RegisterCardScreens();

// Each family folder registers its own screens.
void RegisterAnalogInScreens();
void RegisterBaseAlarmInScreens();
void RegisterNetworkScreens();
void RegisterPulseOutScreens();
void RegisterUniversalInScreens();
void RegisterPowerScreens();
void RegisterWirelessScreens();

template <typename Screen>
void registerScreen(const char* code) {
    shell::childForms().registerScreen(code, [](QWidget* parent) -> QWidget* { return new Screen(parent); });
}

}  // namespace talvo::screens
