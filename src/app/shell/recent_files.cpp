#include "app/shell/recent_files.h"

#include <QFileInfo>

namespace qelto::app {

namespace {
QString normalised(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}
}  // namespace

RecentFiles::RecentFiles(QStringList files) {
    // Added oldest first so the newest ends up in front and duplicates collapse.
    for (auto it = files.crbegin(); it != files.crend(); ++it) {
        if (!it->isEmpty()) {
            add(*it);
        }
    }
}

void RecentFiles::add(const QString& path) {
    const QString name = normalised(path);
    files_.removeAll(name);
    files_.prepend(name);
    while (files_.size() > kCapacity) {
        files_.removeLast();
    }
}

void RecentFiles::remove(const QString& path) {
    files_.removeAll(normalised(path));
}

}  // namespace qelto::app
