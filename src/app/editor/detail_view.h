// The right-hand side of the editor pane: one of the global, program, trigger and pump views.
// Each redisplays from the record when the selection changes and writes every edit straight
// into the record.
#pragma once

#include <QWidget>

#include "app/editor/editor_context.h"

namespace qelto::app {

class DetailView : public QWidget {
    Q_OBJECT

  public:
    DetailView(EditorContext& context, QWidget* parent) : QWidget(parent), ctx_(context) {}
    virtual void refresh() = 0;

  Q_SIGNALS:
    void edited();
    void imagesChanged();
    void programNameChanged(int program);
    void pumpNameChanged(int pump);
    void unitTypeChanged();

  protected:
    // Redisplaying sets widgets, which must not count as the engineer's edits.
    class Loading {
      public:
        explicit Loading(DetailView& view) : view_(view) { view_.loading_ = true; }
        ~Loading() { view_.loading_ = false; }
        Loading(const Loading&) = delete;
        Loading& operator=(const Loading&) = delete;

      private:
        DetailView& view_;
    };
    bool loading() const { return loading_; }
    void markEdited() { Q_EMIT edited(); }

    EditorContext& ctx_;

  private:
    bool loading_ = false;
};

}  // namespace qelto::app
