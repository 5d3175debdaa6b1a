#include "app/editor/editor_pane.h"

namespace qelto::app {

EditorPane::EditorPane(QWidget* parent) : QSplitter(parent) {}

}  // namespace qelto::app
