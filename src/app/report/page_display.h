// What QTextBrowser needs done to a report page before it can show it: the cell tags a
// spreadsheet reads must not show, and the inline SVG charts, which its HTML subset cannot draw,
// become pictures it loads as resources of the document.
#pragma once

#include <QImage>
#include <QString>
#include <QUrl>
#include <vector>

namespace qelto::app {

struct DisplayPage {
    QString html;
    struct Picture {
        QUrl name;
        QImage image;
    };
    std::vector<Picture> pictures;
};

// devicePixelRatio: how finely the charts are drawn (2 keeps them sharp when printed).
DisplayPage prepareForDisplay(const QString& page, qreal devicePixelRatio = 2.0);

}  // namespace qelto::app
