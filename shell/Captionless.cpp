#include "shell/Captionless.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>
#include <qdrawutil.h>

namespace talvo::shell {

namespace {

// Paints the edge before the window's own painting; the children stand inside it.
class RaisedEdge : public QObject {
public:
    explicit RaisedEdge(QWidget* window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == window_ && e->type() == QEvent::Paint) {
            QPainter p(window_);
            qDrawWinPanel(&p, window_->rect(), window_->palette(), false);
        }
        return false;
    }

private:
    QWidget* window_;
};

}  // namespace

void makeCaptionless(QWidget* window) {
    window->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    window->installEventFilter(new RaisedEdge(window));
}

}  // namespace talvo::shell
