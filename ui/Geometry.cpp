#include "ui/Geometry.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace talvo::ui {

namespace {
double logicalDpi() {
    if (auto* s = QGuiApplication::primaryScreen()) {
        const double dpi = s->logicalDotsPerInch();
        if (dpi > 0) return dpi;
    }
    return 96.0;
}

QPalette::ColorRole systemRole(std::uint32_t n) {
    switch (n) {
        case 4: return QPalette::Window;      // menu background
        case 5: return QPalette::Base;        // window background
        case 8: return QPalette::Text;        // window text
        case 15: return QPalette::Button;     // button face
        case 18: return QPalette::ButtonText;
        default: return QPalette::Window;
    }
}
}  // namespace

int twips(int tw) { return static_cast<int>(std::lround(tw * logicalDpi() / 1440.0)); }

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

void placeTwips(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(twipsRect(left, top, width, height));
}

QLabel* newLabel(QWidget* parent, const QString& text, int left, int top, int width, Qt::Alignment align,
                 int height) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(align | Qt::AlignVCenter);
    placeTwips(l, left, top, width, height);
    return l;
}

QFont arialFont(double points, bool bold) {
    static const QStringList arialFaces = {"Arial", "Liberation Sans", "Arimo"};
    // The usual stand-in (DejaVu Sans) is a fifth wider than Arial; narrowed to
    // Arial's widths, texts fit the boxes laid out for it.
    static const bool haveArialWidths = arialFaces.contains(QFontInfo(QFont("Arial")).family());
    QFont f;
    f.setFamilies(arialFaces);
    f.setPointSizeF(points);
    f.setBold(bold);
    if (!haveArialWidths) f.setStretch(80);
    return f;
}

QColor toQColor(std::uint32_t c) {
    if (c & 0x80000000u) return QApplication::palette().color(systemRole(c & 0xFFu));
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

void setBackColor(QWidget* w, std::uint32_t color) {
    QPalette p = w->palette();
    const QColor q = toQColor(color);
    p.setColor(QPalette::Window, q);
    p.setColor(QPalette::Base, q);
    w->setAutoFillBackground(true);
    w->setPalette(p);
}

void setListColors(QComboBox* list, std::uint32_t back, std::uint32_t text) {
    setBackColor(list, back);
    QPalette p = list->palette();
    p.setColor(QPalette::Button, toQColor(back));
    p.setColor(QPalette::ButtonText, toQColor(text));
    p.setColor(QPalette::Text, toQColor(text));
    list->setPalette(p);
    // The style paints a list's face as a gradient of its button colour, which
    // lightens it until white text can hardly be read on it: the face is given
    // flat. The list that drops down keeps the ordinary colours.
    list->setStyleSheet(QString("QComboBox { background-color: %1; color: %2; border: 1px solid #808080; "
                                "padding: 1px 2px 1px 3px; }"
                                "QComboBox QAbstractItemView { background-color: white; color: black; }"
                                // A list holding no value read from the card shows its entry in grey.
                                "QComboBox[unread=\"true\"] { color: #c0c0c0; }")
                            .arg(toQColor(back).name(), toQColor(text).name()));
}

void setForeColor(QWidget* w, std::uint32_t color) {
    QPalette p = w->palette();
    const QColor q = toQColor(color);
    p.setColor(QPalette::WindowText, q);
    p.setColor(QPalette::Text, q);
    w->setPalette(p);
}

}  // namespace talvo::ui
