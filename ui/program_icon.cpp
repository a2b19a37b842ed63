#include "program_icon.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace quorvane {

QPixmap programPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x4e, 0x79));
    painter.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);

    // The key: a ring and a shaft with two teeth.
    const QColor gold(0xf2, 0xc0, 0x3d);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(gold, s * 0.09));
    painter.drawEllipse(QPointF(s * 0.30, s * 0.34), s * 0.14, s * 0.14);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gold);
    painter.drawRect(QRectF(s * 0.42, s * 0.30, s * 0.46, s * 0.08));
    painter.drawRect(QRectF(s * 0.70, s * 0.38, s * 0.07, s * 0.12));
    painter.drawRect(QRectF(s * 0.81, s * 0.38, s * 0.07, s * 0.09));

    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setBold(true);
    font.setPixelSize(qMax(6, int(s * 0.30)));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, s * 0.55, s, s * 0.40), Qt::AlignCenter, QStringLiteral("3F"));
    return pixmap;
}

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128})
        icon.addPixmap(programPixmap(size));
    return icon;
}

} // namespace quorvane
