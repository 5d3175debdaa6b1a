#include "app/shell/start_view.h"

#include <QLinearGradient>
#include <QPainter>

namespace qelto::app {

StartView::StartView(QString hint, QWidget* parent) : QWidget(parent), hint_(std::move(hint)) {}

void StartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient background(rect().topLeft(), rect().bottomRight());
    background.setColorAt(0.0, QColor(0x1d, 0x4e, 0x6b));
    background.setColorAt(1.0, QColor(0x6f, 0xa8, 0xc4));
    painter.fillRect(rect(), background);

    QFont title = font();
    title.setPointSizeF(title.pointSizeF() * 3.0);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(255, 255, 255, 230));
    const QRect upper(0, 0, width(), height() / 2);
    painter.drawText(upper, Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("Qelto"));

    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 1.1);
    painter.setFont(small);
    const QRect lower(width() / 8, height() / 2 + 12, width() * 3 / 4, height() / 2 - 12);
    painter.drawText(lower, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, hint_);
}

}  // namespace qelto::app
