#pragma once
#include <QDialog>

class QLabel;

namespace talvo::shell {

// The version box of the Help menu.
class frmVersion : public QDialog {
    Q_OBJECT
public:
    explicit frmVersion(QWidget* parent = nullptr);
    // The version text shown.
    QString versionText() const;

private:
    QLabel* lblName1_;
};

inline constexpr const char* kVersionText = "2.56.06";

}  // namespace talvo::shell
