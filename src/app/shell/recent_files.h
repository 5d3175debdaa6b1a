// The most recently used documents, newest first, as the File menu lists them.
#pragma once

#include <QStringList>

namespace qelto::app {

class RecentFiles {
  public:
    static constexpr int kCapacity = 16;

    explicit RecentFiles(QStringList files = {});

    // Puts path first; an entry naming the same file moves rather than doubles, and the oldest
    // falls off beyond the capacity.
    void add(const QString& path);
    void remove(const QString& path);
    const QStringList& files() const { return files_; }

  private:
    QStringList files_;
};

}  // namespace qelto::app
