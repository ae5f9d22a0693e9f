#pragma once
#include <QWidget>

namespace talvo::shell {

// The screen of a slot without a card: an empty frame "NONE".
class frmNONE : public QWidget {
    Q_OBJECT
public:
    explicit frmNONE(QWidget* parent = nullptr);
};

}  // namespace talvo::shell
