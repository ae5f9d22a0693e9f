#include "tests/support/Contrast.h"

#include <QHash>
#include <QPixmap>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace talvo::test {

namespace {
double luminance(const QColor& c) {
    const auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TextColours SampleText(const QImage& image, const QRect& area) {
    const QRect r = area.intersected(image.rect());
    TextColours out{QColor(), QColor(), 1.0};
    if (r.isEmpty()) return out;
    QHash<QRgb, int> counts;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) ++counts[image.pixel(x, y) | 0xFF000000u];
    QRgb back = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            back = it.key();
        }
    out.back = QColor::fromRgb(back);
    out.text = out.back;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const double ratio = ContrastRatio(QColor::fromRgb(it.key()), out.back);
        if (ratio > out.ratio) {
            out.ratio = ratio;
            out.text = QColor::fromRgb(it.key());
        }
    }
    return out;
}

TextColours SampleText(QWidget* w, const QRect& area) {
    const QImage image = w->grab().toImage();
    // grab() renders at the device pixel ratio; areas are in widget pixels.
    const double scale = image.width() / static_cast<double>(std::max(w->width(), 1));
    const QRect a = area.isEmpty() ? w->rect() : area;
    return SampleText(image, QRect(QPoint(static_cast<int>(a.left() * scale), static_cast<int>(a.top() * scale)),
                                   QPoint(static_cast<int>(a.right() * scale), static_cast<int>(a.bottom() * scale))));
}

}  // namespace talvo::test
