// One program: its number, its name, and which pumps dose in each of its triggers.
#pragma once

#include <QLabel>
#include <QLineEdit>

#include "app/editor/detail_view.h"

namespace qelto::app {

class ProgramView final : public DetailView {
    Q_OBJECT

  public:
    ProgramView(EditorContext& context, QWidget* parent = nullptr);
    void refresh() override;
    QLineEdit* nameEdit() const { return name_; }

  private:
    QLabel* title_;
    QLabel* numberLabel_;
    QLineEdit* name_;
    QLabel* summary_;
};

}  // namespace qelto::app
