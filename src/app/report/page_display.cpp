#include "app/report/page_display.h"

#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

namespace qelto::app {
namespace {

QImage drawSvg(const QString& svg, qreal ratio) {
    QSvgRenderer renderer(svg.toUtf8());
    if (!renderer.isValid()) {
        return {};
    }
    const QSize size = renderer.defaultSize();
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

}  // namespace

DisplayPage prepareForDisplay(const QString& page, qreal devicePixelRatio) {
    // Pages of older versions leave the tags open; newer ones close each at once.
    static const QRegularExpression cellTag(QStringLiteral("</?EXCEL\\b[^>]*>"));
    static const QRegularExpression svgBlock(
        QStringLiteral("<svg\\b.*?</svg>"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    DisplayPage display;
    QString html = page;
    html.remove(cellTag);
    QString out;
    qsizetype at = 0;
    for (auto it = svgBlock.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += QStringView(html).mid(at, match.capturedStart() - at);
        at = match.capturedEnd();
        QImage image = drawSvg(match.captured(), devicePixelRatio);
        if (image.isNull()) {
            continue;  // a chart that does not parse is left out rather than shown as markup
        }
        const QUrl name(QStringLiteral("qelto-chart:%1").arg(display.pictures.size()));
        const QSize logical = image.size() / devicePixelRatio;
        out += QStringLiteral("<p><img src=\"%1\" width=\"%2\" height=\"%3\"></p>")
                   .arg(name.toString())
                   .arg(logical.width())
                   .arg(logical.height());
        display.pictures.push_back({name, std::move(image)});
    }
    out += QStringView(html).mid(at);
    display.html = std::move(out);
    return display;
}

}  // namespace qelto::app
