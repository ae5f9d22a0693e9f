#include "shell/frmVersion.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "ui/Geometry.h"

namespace talvo::shell {

frmVersion::frmVersion(QWidget* parent) : QDialog(parent) {
    setObjectName("frmVersion");
    setWindowTitle("Version TALVO ");
    setFixedSize(ui::twips(5400), ui::twips(3465));

    QLabel* title = ui::newLabel(this, "TALVO", 1560, 360, 2295, Qt::AlignLeft, 480);
    title->setObjectName("lblTitle_0");
    QFont big = title->font();
    big.setPointSizeF(18);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    ui::newLabel(this, "K6 Systems", 1320, 1320, 2775, Qt::AlignHCenter, 225)->setObjectName("lblTitle_2");
    ui::newLabel(this, "Version", 1320, 1920, 1095, Qt::AlignLeft, 225)->setObjectName("lblTitle_1");
    lblName1_ = ui::newLabel(this, kVersionText, 2880, 1920, 1095, Qt::AlignLeft, 225);
    lblName1_->setObjectName("lblName_1");

    auto* line = new QFrame(this);
    line->setObjectName("Line1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    ui::placeTwips(line, 960, 2400 - 15, 4440 - 960, 30);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("CmdOK");
    ok->setDefault(true);
    ui::placeTwips(ok, 1920, 2760, 1467, 465);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString frmVersion::versionText() const { return lblName1_->text(); }

}  // namespace talvo::shell
