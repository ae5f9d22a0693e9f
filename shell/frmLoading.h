#pragma once
// The progress window of a transfer: a caption ("Uploading", "Downloading") and a
// bar. Modeless: the transfer keeps running while it is shown.
#include <QWidget>
#include <string>

class QLabel;
class QProgressBar;

namespace talvo::shell {

class frmLoading : public QWidget {
    Q_OBJECT
public:
    // A top-level window without a title bar that stays in front of its owner.
    explicit frmLoading(QWidget* owner = nullptr);

    // Empty bar with `steps` as its maximum, the caption, and the window shown.
    void showProgress(int steps, const std::string& caption);
    void setValue(int value);
    int value() const;
    int maximum() const;
    QString caption() const;

private:
    QLabel* lblLoading_;
    QProgressBar* pgBarLoading_;
};

}  // namespace talvo::shell
