#include "shell/frmLoading.h"

#include <QLabel>
#include <QProgressBar>

#include "shell/Captionless.h"
#include "ui/Geometry.h"

namespace talvo::shell {

frmLoading::frmLoading(QWidget* owner)
    : QWidget(owner), lblLoading_(new QLabel(this)), pgBarLoading_(new QProgressBar(this)) {
    setObjectName("frmLoading");
    makeCaptionless(this);
    setFixedSize(ui::twips(4680), ui::twips(1725));
    lblLoading_->setObjectName("lblLoading");
    lblLoading_->move(ui::twips(2175), ui::twips(360));
    pgBarLoading_->setObjectName("pgBarLoading");
    pgBarLoading_->setTextVisible(false);
    ui::placeTwips(pgBarLoading_, 600, 1080, 3375, 255);
}

void frmLoading::showProgress(int steps, const std::string& caption) {
    pgBarLoading_->setMaximum(steps);
    pgBarLoading_->setMinimum(0);
    pgBarLoading_->setValue(0);
    lblLoading_->setText(QString::fromLatin1(caption.c_str()));
    lblLoading_->adjustSize();
    if (QWidget* owner = parentWidget()) {
        const QPoint centre = owner->geometry().center();
        move(centre.x() - width() / 2, centre.y() - height() / 2);
    }
    show();
}

void frmLoading::setValue(int value) { pgBarLoading_->setValue(value); }

int frmLoading::value() const { return pgBarLoading_->value(); }

int frmLoading::maximum() const { return pgBarLoading_->maximum(); }

QString frmLoading::caption() const { return lblLoading_->text(); }

}  // namespace talvo::shell
