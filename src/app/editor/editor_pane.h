// The editor pane: the navigation tree of programs and triggers beside the view of the selected
// item (global settings, program, trigger or pump).
#pragma once

#include <QSplitter>

namespace qelto::app {

class EditorPane final : public QSplitter {
    Q_OBJECT

  public:
    explicit EditorPane(QWidget* parent = nullptr);
};

}  // namespace qelto::app
