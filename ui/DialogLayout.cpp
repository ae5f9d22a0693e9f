#include "ui/DialogLayout.h"

#include "ui/Geometry.h"

namespace talvo::ui {

QString indexed(const char* name, int index) { return QString("%1_%2").arg(name).arg(index); }

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top, int width,
              Qt::Alignment align) {
    QLabel* l = newLabel(parent, text, left, top, width, align, 330);
    l->setObjectName(name);
    return l;
}

QLineEdit* box(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(name);
    placeTwips(b, left, top, width, height);
    return b;
}

QLineEdit* shownBox(QWidget* parent, const char* name, int left, int top, int width, int height) {
    QLineEdit* b = box(parent, name, left, top, width, height);
    b->setReadOnly(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, int left, int top, int width,
                    int height) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    placeTwips(b, left, top, width, height);
    return b;
}

QGroupBox* frame(QWidget* parent, const char* name, const char* caption, int left, int top, int width, int height) {
    auto* f = new QGroupBox(caption, parent);
    f->setObjectName(name);
    placeTwips(f, left, top, width, height);
    return f;
}

QComboBox* list(QWidget* parent, const char* name, int left, int top, int width) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    placeTwips(c, left, top, width, 330);
    return c;
}

DottedAddress address(QWidget* parent, const char* name, int left, int top) {
    DottedAddress a;
    for (int k = 0; k < 4; ++k) {
        const int i = 3 - k;  // box 3 leftmost
        QLineEdit* b = box(parent, "", left + k * 660, top, 540);
        b->setObjectName(indexed(name, i));
        b->setAlignment(Qt::AlignRight);
        a.boxes[static_cast<std::size_t>(i)] = b;
        if (k < 3) newLabel(parent, ".", left + k * 660 + 555, top, 90, Qt::AlignHCenter, 330);
    }
    return a;
}

QLabel* heading(QWidget* parent, const char* name, const QString& text, int left, int top, int width) {
    QLabel* l = newLabel(parent, text, left, top, width, Qt::AlignLeft, 420);
    l->setObjectName(name);
    l->setFont(arialFont(12, true));
    return l;
}

}  // namespace talvo::ui
