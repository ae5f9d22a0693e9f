#pragma once

namespace talvo::screens {

// Makes every built card screen known to the main window's client area by its
// screen code, so that picking a slot opens it.
void RegisterCardScreens();

}  // namespace talvo::screens
