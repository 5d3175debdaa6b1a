// The editor pane: the navigation tree of programs, triggers and pumps beside the view of the
// selected item (global settings, program, trigger or pump). Every edit goes straight into the
// document's configuration record and marks the document modified.
#pragma once

#include <QSplitter>
#include <QStackedWidget>
#include <memory>

#include "app/editor/editor_context.h"
#include "app/editor/nav_tree.h"

namespace qelto::app {

class DetailView;
class GlobalView;
class ProgramView;
class TriggerView;
class PumpView;

class EditorPane final : public QSplitter {
    Q_OBJECT

  public:
    // americanMode: the "Language" setting is 8, so doses show as hundredths.
    EditorPane(model::CQeltoDoc& doc, const platform::LanguageCatalog& texts,
               bool americanMode = false, QWidget* parent = nullptr);
    // A pane over a document of its own, for a window that has not handed it the application's
    // document yet; the pane is fully usable but edits a record nobody saves.
    explicit EditorPane(QWidget* parent = nullptr);
    ~EditorPane() override;

    // After the document changed as a whole (new, open, read from a unit): re-applies the
    // stored unit type, rebuilds the tree and redisplays.
    void reload();
    // Shows the unit-wide settings (the tree's root), as after a read.
    void showGlobalSettings();
    void setAmericanMode(bool american);

    NavTree* tree() const { return tree_; }
    DetailView* currentView() const;
    GlobalView* globalView() const { return global_; }
    ProgramView* programView() const { return program_; }
    TriggerView* triggerView() const { return trigger_; }
    PumpView* pumpView() const { return pump_; }
    const model::Selection& selection() const { return ctx_.selection; }
    bool tenTriggerMode() const { return ctx_.rules.tenTriggerMode(); }

  Q_SIGNALS:
    void documentModified();

  private:
    struct Standalone;
    EditorPane(Standalone* own, QWidget* parent);
    EditorPane(std::unique_ptr<Standalone> own, model::CQeltoDoc& doc,
               const platform::LanguageCatalog& texts, bool americanMode, QWidget* parent);
    void showItem(QTreeWidgetItem* item);
    void markModified();

    std::unique_ptr<Standalone> own_;
    EditorContext ctx_;
    NavTree* tree_;
    QStackedWidget* stack_;
    GlobalView* global_;
    ProgramView* program_;
    TriggerView* trigger_;
    PumpView* pump_;
};

}  // namespace qelto::app
