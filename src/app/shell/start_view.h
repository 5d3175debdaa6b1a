// The view shown before any document is opened or read: the background and a hint where to start.
#pragma once

#include <QWidget>

namespace qelto::app {

class StartView final : public QWidget {
    Q_OBJECT

  public:
    explicit StartView(QString hint, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString hint_;
};

}  // namespace qelto::app
