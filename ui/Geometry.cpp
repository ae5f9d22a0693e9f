#include "ui/Geometry.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <iterator>

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
    // flat. The list that drops down is an ordinary list whatever the face
    // shows: every entry dark on light, the one under the mouse white on navy,
    // neither green nor red. (The menu-like drop-down some styles use would
    // paint its entries in the face's white text, and a light highlight leaves
    // white text hard to read.)
    const QPalette plain = QApplication::palette();
    list->setProperty(kUnreadRule, true);
    list->setStyleSheet(QString("QComboBox { background-color: %1; color: %2; border: 1px solid #808080; "
                                "padding: 1px 2px 1px 3px; combobox-popup: 0; }"
                                "QComboBox QAbstractItemView { background-color: %3; color: %4; "
                                "selection-background-color: %5; selection-color: %6; }"
                                // A list holding no value read from the card shows its entry in grey.
                                "QComboBox[unread=\"true\"] { color: #e0e0e0; }")
                            .arg(toQColor(back).name(), toQColor(text).name(), plain.color(QPalette::Base).name(),
                                 plain.color(QPalette::Text).name(), toQColor(colors::Navy).name(),
                                 toQColor(colors::White).name()));
}

namespace {
// Opens the list of an editable box with nothing highlighted when the box shows
// no entry: the list itself would highlight the last entry that was current.
class NoEntryHighlighted : public QObject {
public:
    explicit NoEntryHighlighted(QComboBox* list) : QObject(list), list_(list) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show && list_->findText(list_->currentText(), kExact) < 0)
            list_->view()->selectionModel()->clear();
        return false;
    }

private:
    static constexpr Qt::MatchFlags kExact = Qt::MatchExactly | Qt::MatchCaseSensitive;
    QComboBox* list_;
};
}  // namespace

void followShownEntry(QComboBox* list) {
    QLineEdit* box = list->lineEdit();
    if (!box || list->property("followsShownEntry").toBool()) return;
    list->setProperty("followsShownEntry", true);
    // On its own the list keeps its current entry when a text is typed or put
    // straight into the box, and opens with that stale entry highlighted.
    QObject::connect(box, &QLineEdit::textChanged, list, [list](const QString& text) {
        const int row = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (row >= 0 && row != list->currentIndex()) list->setCurrentIndex(row);
    });
    // The view sits in the frame that drops down.
    list->view()->parentWidget()->installEventFilter(new NoEntryHighlighted(list));
}

void setForeColor(QWidget* w, std::uint32_t color) {
    QPalette p = w->palette();
    const QColor q = toQColor(color);
    p.setColor(QPalette::WindowText, q);
    p.setColor(QPalette::Text, q);
    w->setPalette(p);
}

namespace {
double luminance(const QColor& c) {
    const auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// The contrast ratio of two colours, 1 to 21, as accessibility guides reckon it.
double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
}  // namespace

void setReadableWhenDisabled(QWidget* w) {
    QPalette p = w->palette();
    const QPalette::ColorGroup off = QPalette::Disabled;
    const QColor faces[] = {p.color(off, QPalette::Base), p.color(off, QPalette::Button),
                            p.color(off, QPalette::Window)};
    const QColor grey = p.color(off, QPalette::Text);
    const QColor full = p.color(QPalette::Active, QPalette::Text);
    // The style's grey, moved towards the ordinary text colour until it reads.
    QColor text = full;
    for (int step = 0; step <= 20; ++step) {
        const double t = step / 20.0;
        const QColor c = QColor::fromRgbF(static_cast<float>(grey.redF() + (full.redF() - grey.redF()) * t),
                                          static_cast<float>(grey.greenF() + (full.greenF() - grey.greenF()) * t),
                                          static_cast<float>(grey.blueF() + (full.blueF() - grey.blueF()) * t));
        // 7 : 1 for the colour, so that the thin, smoothed strokes of a small
        // text still show 4.5 : 1 where they are drawn.
        const auto reads = [&](const QColor& f) { return contrastRatio(c, f) >= 7.0; };
        if (std::all_of(std::begin(faces), std::end(faces), reads)) {
            text = c;
            break;
        }
    }
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        p.setColor(off, role, text);
    w->setPalette(p);
}

namespace {

// Some styles open a list as a menu over the box, as high as its entries need,
// and ignore the row limit. This style opens it as a plain list; one instance
// serves every such list, and unlike a style sheet of its own per list it costs
// no style-sheet work when a screen builds its lists.
class PlainDropDownStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == QStyle::SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

QStyle* plainDropDownStyle() {
    static QPointer<PlainDropDownStyle> style;
    if (!style) {
        style = new PlainDropDownStyle;
        style->setParent(qApp);
    }
    return style;
}

}  // namespace

void setDropDownRows(QComboBox* list, int rows) {
    list->setMaxVisibleItems(rows);
    list->setStyle(plainDropDownStyle());
}

}  // namespace talvo::ui
