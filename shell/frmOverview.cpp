#include "shell/frmOverview.h"

#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <algorithm>

#include "core/Overview.h"
#include "ui/Geometry.h"

namespace talvo::shell {

namespace {

int roomFor(const QLabel* cell) { return std::max(cell->contentsRect().width() - std::max(cell->indent(), 0), 0); }

}  // namespace

CellText LayOutCellText(const QLabel* cell) {
    const QFontMetricsF metrics(cell->font());
    const double room = roomFor(cell);
    const QString text = cell->text();
    const double width = metrics.horizontalAdvance(text);
    if (width <= room) return {text, 1.0};
    if (width * kNarrowestCellText <= room) return {text, room / width};
    // Too long even narrowed: cut after a whole character, in the narrowest width.
    return {metrics.elidedText(text, Qt::ElideRight, room / kNarrowestCellText), kNarrowestCellText};
}

QString ShownCellText(const QLabel* cell) { return LayOutCellText(cell).text; }

// A label that remembers what it last drew, so a monitoring pass that repaints
// the same values costs nothing. A value wider than its cell is drawn
// narrower, as a condensed face would show it, so a sign and five digits or
// "NEEDLESS" read whole at a glance; only what cannot fit even so is cut after
// a whole character and ends in an ellipsis, with the whole value in its tool
// tip. No half glyph is ever shown.
class OverviewCellLabel : public QLabel {
public:
    OverviewCellLabel(QWidget* parent, bool alwaysVisible) : QLabel(parent), alwaysVisible_(alwaysVisible) {}

protected:
    void paintEvent(QPaintEvent* e) override {
        QFrame::paintEvent(e);  // the frame; the background is the widget's own
        const CellText shown = LayOutCellText(this);
        const QRectF area = QRectF(contentsRect()).adjusted(std::max(indent(), 0), 0, 0, 0);
        QPainter p(this);
        p.setFont(font());
        p.setPen(palette().color(foregroundRole()));
        p.setRenderHint(QPainter::TextAntialiasing);
        // Narrowed about the area's left edge: the text keeps its place and height.
        p.translate(area.left(), 0);
        p.scale(shown.narrowing, 1.0);
        p.drawText(QRectF(0, area.top(), area.width() / shown.narrowing, area.height()),
                   static_cast<int>(alignment()), shown.text);
    }
    void resizeEvent(QResizeEvent* e) override {
        QLabel::resizeEvent(e);
        updateToolTip();
    }

private:
    void updateToolTip() { setToolTip(ShownCellText(this) == text() ? QString() : text()); }

public:
    void draw(const OverviewCell& cell) {
        if (drawnOnce_ && cell.caption == drawn_.caption && cell.foreColor == drawn_.foreColor &&
            cell.backColor == drawn_.backColor && cell.visible == drawn_.visible)
            return;
        if (!drawnOnce_ || cell.caption != drawn_.caption) {
            setText(QString::fromLatin1(cell.caption.c_str()));
            updateToolTip();
        }
        if (!drawnOnce_ || cell.foreColor != drawn_.foreColor) ui::setForeColor(this, cell.foreColor);
        if (!drawnOnce_ || cell.backColor != drawn_.backColor) ui::setBackColor(this, cell.backColor);
        setVisible(alwaysVisible_ || cell.visible);
        drawn_ = cell;
        drawnOnce_ = true;
    }

private:
    bool alwaysVisible_;
    bool drawnOnce_ = false;
    OverviewCell drawn_;
};

namespace {

constexpr int kRowTop = 600;
constexpr int kRowStep = 360;
constexpr int kCellHeight = 270;

// A column heading of the overview: bold, in the window text colour.
QLabel* headerLabel(QWidget* parent, const char* name, const QString& caption, int left, int width) {
    QLabel* l = ui::newLabel(parent, caption, left, kRowTop, width, Qt::AlignLeft, 255);
    l->setObjectName(name);
    l->setFont(ui::arialFont(11.25, true));
    ui::setForeColor(l, colors::SysWindowText);
    return l;
}

}  // namespace

frmOverview::frmOverview(QWidget* parent) : QWidget(parent) {
    setObjectName("frmOverview");
    setAutoFillBackground(true);
    // The client area behind the screens is dark; a screen keeps the ordinary roles.
    setBackgroundRole(QPalette::Window);
    setForegroundRole(QPalette::WindowText);

    frame_ = new QGroupBox(" OverView", this);
    frame_->setObjectName("Frame1");
    frame_->setFont(ui::arialFont(12, true));
    // The caption is blue; the labels inside set their own colours.
    ui::setForeColor(frame_, colors::Blue);
    ui::placeTwips(frame_, 120, 120, 9315, 6885);

    buildHeader();
    for (int slot = 1; slot <= OverviewModel::kSlots; ++slot) {
        buildRow(slot);
        redrawRow(slot);
    }
    Overview().setListener([this](int slot) { redrawRow(slot); });
}

frmOverview::~frmOverview() { Overview().setListener(nullptr); }

void frmOverview::buildHeader() {
    headerLabel(frame_, "Label2", "No", 360, 375);
    headerLabel(frame_, "Label3", "In/ Out", 720, 975);
    headerLabel(frame_, "Label4", "Type", 1800, 855);
    const char* channelNames[] = {"Label5", "Label6", "Label7", "Label8_0", "Label8_1",
                                  "Label8_2", "Label8_3", "Label8_4"};
    for (int k = 1; k <= 8; ++k) headerLabel(frame_, channelNames[k - 1], QString("Ch%1").arg(k), 3480 + 720 * (k - 1), 495);
}

void frmOverview::buildRow(int slot) {
    RowCells& r = rows_[static_cast<std::size_t>(slot - 1)];
    const int top = kRowTop + kRowStep * slot;
    const QFont cellFont = ui::arialFont(9.75, true);

    r.unitNo = new QLabel(QString("%1").arg(slot, 2, 10, QChar('0')), frame_);
    r.unitNo->setObjectName(QString("UnitNo_%1").arg(slot));
    r.unitNo->setFont(ui::arialFont(9, true));
    ui::setForeColor(r.unitNo, colors::SysWindowText);
    ui::placeTwips(r.unitNo, 360, top, 255, 255);

    // Value cells are sunken boxes; lamps have a plain outline, so a lamp not
    // read yet still shows where it is.
    auto make = [&](const QString& name, int left, int width, bool alwaysVisible, int frameStyle) {
        auto* l = new OverviewCellLabel(frame_, alwaysVisible);
        l->setObjectName(QString("%1_%2").arg(name).arg(slot));
        l->setFont(cellFont);
        l->setFrameStyle(frameStyle);
        l->setIndent(1);
        ui::placeTwips(l, left, top, width, kCellHeight);
        return l;
    };
    const int none = QFrame::NoFrame;
    const int sunken = QFrame::Panel | QFrame::Sunken;
    const int outline = QFrame::Box | QFrame::Plain;
    r.status = make("lblCardStatus", 720, 975, true, none);
    r.type = make("lblCardType", 1800, 1515, true, none);
    for (int k = 1; k <= 8; ++k)
        r.values[static_cast<std::size_t>(k - 1)] =
            make(QString("lblInputDataCh%1").arg(k), 3480 + 720 * (k - 1), 615, false, sunken);
    for (int k = 1; k <= 4; ++k)
        r.wide[static_cast<std::size_t>(k - 1)] =
            make(QString("lblInputDataLCh%1").arg(k), 3480 + 1440 * (k - 1), 1335, false, sunken);
    for (int k = 1; k <= 32; ++k)
        r.lamps[static_cast<std::size_t>(k - 1)] = make(QString("lblDIDataCh%1").arg(k),
                                                        3480 + 720 * ((k - 1) / 4) + 120 * ((k - 1) % 4), 135,
                                                        false, outline);
}

void frmOverview::formActivate() { OverviewActivate(); }

void frmOverview::redrawRow(int slot) {
    const OverviewRow* m = Overview().row(slot);
    if (!m) return;
    RowCells& r = rows_[static_cast<std::size_t>(slot - 1)];
    r.status->draw(m->status);
    r.type->draw(m->type);
    for (std::size_t k = 0; k < r.values.size(); ++k) r.values[k]->draw(m->values[k]);
    for (std::size_t k = 0; k < r.wide.size(); ++k) r.wide[k]->draw(m->wide[k]);
    for (std::size_t k = 0; k < r.lamps.size(); ++k) r.lamps[k]->draw(m->lamps[k]);
}

const frmOverview::RowCells* frmOverview::cells(int slot) const {
    if (slot < 1 || slot > OverviewModel::kSlots) return nullptr;
    return &rows_[static_cast<std::size_t>(slot - 1)];
}

QLabel* frmOverview::unitNo(int slot) const {
    const RowCells* r = cells(slot);
    return r ? r->unitNo : nullptr;
}

QLabel* frmOverview::cardStatus(int slot) const {
    const RowCells* r = cells(slot);
    return r ? r->status : nullptr;
}

QLabel* frmOverview::cardType(int slot) const {
    const RowCells* r = cells(slot);
    return r ? r->type : nullptr;
}

QLabel* frmOverview::inputDataCh(int slot, int k) const {
    const RowCells* r = cells(slot);
    return r && k >= 1 && k <= 8 ? r->values[static_cast<std::size_t>(k - 1)] : nullptr;
}

QLabel* frmOverview::inputDataLCh(int slot, int k) const {
    const RowCells* r = cells(slot);
    return r && k >= 1 && k <= 4 ? r->wide[static_cast<std::size_t>(k - 1)] : nullptr;
}

QLabel* frmOverview::diDataCh(int slot, int k) const {
    const RowCells* r = cells(slot);
    return r && k >= 1 && k <= 32 ? r->lamps[static_cast<std::size_t>(k - 1)] : nullptr;
}

}  // namespace talvo::shell
