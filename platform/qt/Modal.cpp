#include "platform/qt/Modal.h"

#include <QDialog>

#include "platform/Services.h"

namespace talvo::platform {

namespace {
ModalHandler& handler() {
    static ModalHandler h;
    return h;
}
}  // namespace

int execModal(QDialog& dialog) {
    EventLevelScope nested;
    ModalScope modal;
    if (handler()) return handler()(dialog);
    return dialog.exec();
}

void setModalHandler(ModalHandler h) { handler() = std::move(h); }

}  // namespace talvo::platform
