// The status lines and progress bar under a unit dialog: where an operation running on the worker
// thread shows what it is doing. The dialog keeps its height whether the bar shows or not.
#pragma once

#include <QWidget>

#include "app/comms/gui_operator_prompts.h"

class QLabel;
class QProgressBar;

namespace qelto::app {

class OperationStatusPanel final : public QWidget, public OperationDisplay {
    Q_OBJECT

  public:
    // lines: 1, or 2 where the dialog shows a second line (a Bluetooth pairing step).
    OperationStatusPanel(int lines, QWidget* parent);

    QLabel* statusLine() const { return first_; }
    QLabel* secondStatusLine() const { return second_; }
    QProgressBar* progressBar() const { return progress_; }

    void showStatus(const QString& text) override;
    void showProgressRange(int steps) override;
    void stepProgress() override;
    void hideProgress() override;

  private:
    QLabel* first_;
    QLabel* second_ = nullptr;
    QProgressBar* progress_;
};

}  // namespace qelto::app
