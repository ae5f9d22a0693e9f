#pragma once
// The busy cursor over the whole program while a routine that shows no
// progress window waits for the station (the connect handshake, a dialog's
// transfer): the user sees that something runs, and the window stays usable.
#include <QApplication>

namespace talvo::ui {

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace talvo::ui
