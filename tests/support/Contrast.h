#pragma once
// How well a text reads where it is drawn: the colours of rendered pixels,
// not the palette that asked for them.
#include <QColor>
#include <QImage>
#include <QRect>

class QWidget;

namespace talvo::test {

// The contrast ratio of two colours, 1 to 21, as accessibility guides reckon it.
double ContrastRatio(const QColor& a, const QColor& b);

struct TextColours {
    QColor back;   // the commonest colour of the area
    QColor text;   // the pixel that stands out most from it
    double ratio;  // their contrast, 1 to 21
};

// Samples an area of a rendered image; an empty area gives a ratio of 1.
TextColours SampleText(const QImage& image, const QRect& area);
// The same for an area of a widget as it paints itself (the whole widget when
// the area is empty).
TextColours SampleText(QWidget* w, const QRect& area = QRect());

}  // namespace talvo::test
