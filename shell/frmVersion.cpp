#include "shell/frmVersion.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "shell/Geometry.h"

namespace talvo::shell {

namespace {
QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    placeTwips(l, left, top, width, height);
    return l;
}
}  // namespace

frmVersion::frmVersion(QWidget* parent) : QDialog(parent) {
    setObjectName("frmVersion");
    setWindowTitle("Version TALVO ");
    setFixedSize(twips(5400), twips(3465));

    QLabel* title = label(this, "lblTitle_0", "TALVO", 1560, 360, 2295, 480);
    QFont big = title->font();
    big.setPointSizeF(18);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    label(this, "lblTitle_2", "K6 Systems", 1320, 1320, 2775, 225)->setAlignment(Qt::AlignCenter);
    label(this, "lblTitle_1", "Version", 1320, 1920, 1095, 225);
    lblName1_ = label(this, "lblName_1", kVersionText, 2880, 1920, 1095, 225);

    auto* line = new QFrame(this);
    line->setObjectName("Line1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    placeTwips(line, 960, 2400 - 15, 4440 - 960, 30);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("CmdOK");
    ok->setDefault(true);
    placeTwips(ok, 1920, 2760, 1467, 465);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString frmVersion::versionText() const { return lblName1_->text(); }

}  // namespace talvo::shell
