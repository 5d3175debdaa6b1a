// Every GUI test program starts in a fresh folder of its own, with HOME and the settings folder
// inside it, so nothing it saves (settings, recent files, documents, unit history) reaches the
// developer's.
#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <QtGlobal>

namespace qelto::test {

class AppTestEnv {
  public:
    AppTestEnv() {
        const QString root = dir_.path();
        QDir(root).mkpath(QStringLiteral("home/.config"));
        qputenv("HOME", (root + QStringLiteral("/home")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/home/.config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", (root + QStringLiteral("/home/.local/share")).toLocal8Bit());
        qunsetenv("QELTO_HISTORY");
        QDir::setCurrent(root);
    }
    QString path() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
};

}  // namespace qelto::test
