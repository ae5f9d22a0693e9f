#pragma once
#include <functional>

class QDialog;

namespace talvo::platform {

// Runs a modal dialog. The program runs it with exec(); a test installs a
// handler that drives the dialog (clicks its buttons) and returns its result,
// so no nested event loop waits for a person.
using ModalHandler = std::function<int(QDialog&)>;

int execModal(QDialog& dialog);
// Installs a handler; an empty one restores exec().
void setModalHandler(ModalHandler handler);

}  // namespace talvo::platform
