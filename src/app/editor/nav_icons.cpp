#include "app/editor/nav_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qelto::app {
namespace {

// Grey says nothing doses here; green says at least one pump does.
const QColor kIdle(150, 150, 150);
const QColor kActive(40, 150, 60);

QPixmap drawImage(int image) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    switch (image) {
        case kImageRoot:  // the unit: a box with a display
            painter.setBrush(QColor(70, 110, 170));
            painter.drawRoundedRect(QRectF(1.5, 2.5, 13, 11), 2, 2);
            painter.setBrush(QColor(200, 230, 255));
            painter.drawRect(QRectF(4.5, 4.5, 7, 4));
            break;
        case kImageProgram:
        case kImageProgramActive:  // a program: a sheet with lines
            painter.setBrush(image == kImageProgram ? QColor(235, 235, 235)
                                                    : QColor(205, 240, 210));
            painter.drawRect(QRectF(2.5, 1.5, 11, 13));
            painter.setPen(QPen(image == kImageProgram ? kIdle : kActive, 1.5));
            for (int y = 5; y <= 11; y += 3) {
                painter.drawLine(QPointF(5, y), QPointF(11, y));
            }
            break;
        case kImageTrigger:
        case kImageTriggerActive:  // a trigger: a pulse
            painter.setBrush(image == kImageTrigger ? kIdle : kActive);
            painter.drawEllipse(QRectF(3.5, 3.5, 9, 9));
            break;
        case kImagePump:  // a pump: a drop
        default: {
            QPainterPath drop;
            drop.moveTo(8, 1.5);
            drop.cubicTo(12, 7, 13, 9, 13, 10.5);
            drop.arcTo(QRectF(3, 6, 10, 9), 0, -180);
            drop.cubicTo(3, 9, 4, 7, 8, 1.5);
            painter.setBrush(QColor(60, 140, 220));
            painter.drawPath(drop);
            break;
        }
    }
    return pixmap;
}

}  // namespace

QIcon navIcon(int image) {
    return QIcon(drawImage(image));
}

}  // namespace qelto::app
