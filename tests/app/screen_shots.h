// Pictures of what the engineer sees, saved into QELTO_SHOT_DIR when it is set and otherwise
// into the test's own folder, and the check that every label and button shown got at least the
// room it asks for, so no text is cut off.
#pragma once

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QWidget>

namespace qelto::test {

inline QString shotPath(const QString& ownFolder, const QString& name) {
    const QString dir = qEnvironmentVariableIsSet("QELTO_SHOT_DIR")
                            ? qEnvironmentVariable("QELTO_SHOT_DIR")
                            : ownFolder;
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + name + QStringLiteral(".png");
}

inline void checkNothingClipped(QWidget* top) {
    for (QWidget* widget : top->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(top) || (qobject_cast<QLabel*>(widget) == nullptr &&
                                          qobject_cast<QAbstractButton*>(widget) == nullptr)) {
            continue;
        }
        const QSize wanted = widget->minimumSizeHint();
        QVERIFY2(widget->width() >= wanted.width() && widget->height() >= wanted.height(),
                 qPrintable(QStringLiteral("%1 \"%2\" is %3x%4, needs %5x%6")
                                .arg(QString::fromLatin1(widget->metaObject()->className()),
                                     widget->property("text").toString())
                                .arg(widget->width())
                                .arg(widget->height())
                                .arg(wanted.width())
                                .arg(wanted.height())));
    }
}

// Saves the widget as it is; shown and checked first when it is a window not yet on screen.
inline void takePicture(QWidget& widget, const QString& ownFolder, const QString& name) {
    if (!widget.isVisible()) {
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        checkNothingClipped(&widget);
    }
    QVERIFY(widget.grab().save(shotPath(ownFolder, name)));
}

}  // namespace qelto::test
