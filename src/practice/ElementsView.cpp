#include "practice/ElementsView.h"

#include "practice/KeyingController.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr double PixelsPerDot = 8;
constexpr int BarHeight = 7;
constexpr int MaxShown = 40;

// The width of a character's column: its elements and the dot between them, measured or ideal, whichever is longer.
double ColumnDots(const DecodedSign& sign)
{
    double measured = 0;
    double ideal = 0;
    for (const MeasuredElement& e : sign.elements) {
        measured += double(e.downUs) / sign.dotUs + 1;
        ideal += (e.kind == ElementKind::Dot ? 1 : 3) + 1;
    }
    return std::max(measured, ideal) + 1;
}

void DrawSign(QPainter& painter, const DecodedSign& sign, double left, int top)
{
    painter.setPen(Qt::black);
    painter.drawText(QRectF(left, top, ColumnDots(sign) * PixelsPerDot, 16), Qt::AlignLeft, sign.text);
    double measuredAt = left;
    double idealAt = left;
    for (const MeasuredElement& e : sign.elements) {
        const double ideal = (e.kind == ElementKind::Dot ? 1 : 3) * PixelsPerDot;
        const double measured = double(e.downUs) / sign.dotUs * PixelsPerDot;
        painter.fillRect(QRectF(measuredAt, top + 20, measured, BarHeight),
                         ElementIsOff(e, sign.dotUs) ? QColor(200, 0, 0) : QColor(0, 128, 0));
        painter.fillRect(QRectF(idealAt, top + 20 + BarHeight + 2, ideal, 3), Qt::gray);
        measuredAt += measured + PixelsPerDot;
        idealAt += ideal + PixelsPerDot;
    }
}

} // namespace

ElementsView::ElementsView(QWidget* parent) : QWidget(parent)
{
    setMinimumHeight(44);
}

void ElementsView::setSigns(const std::vector<DecodedSign>& signs)
{
    m_signs.clear();
    for (auto s = signs.rbegin(); s != signs.rend() && m_signs.size() < MaxShown; ++s) {
        if (s->kind == DecodedSign::Kind::Character && s->dotUs > 0)
            m_signs.insert(m_signs.begin(), *s);
    }
    update();
}

void ElementsView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    // The latest character at the right end, the earlier ones before it as far as they fit.
    double right = width() - 4;
    for (auto s = m_signs.rbegin(); s != m_signs.rend(); ++s) {
        const double left = right - ColumnDots(*s) * PixelsPerDot;
        if (left < 0)
            break;
        DrawSign(painter, *s, left, 4);
        right = left;
    }
}
