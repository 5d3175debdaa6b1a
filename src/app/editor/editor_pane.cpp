#include "app/editor/editor_pane.h"

#include "app/editor/global_view.h"
#include "app/editor/nav_icons.h"
#include "app/editor/program_view.h"
#include "app/editor/pump_view.h"
#include "app/editor/trigger_view.h"
#include "platform/builtin_catalog.h"

namespace qelto::app {

struct EditorPane::Standalone {
    Standalone() : texts(platform::LanguageCatalog::parse(platform::builtinEnglishCatalog())) {
        doc.onNewDocument();
    }
    model::CProgData config;
    model::NoPumpNameDefaults names;
    model::CQeltoDoc doc{config, names};
    platform::LanguageCatalog texts;
};

EditorPane::EditorPane(QWidget* parent) : EditorPane(new Standalone, parent) {}

EditorPane::EditorPane(Standalone* own, QWidget* parent)
    : EditorPane(std::unique_ptr<Standalone>(own), own->doc, own->texts, false, parent) {}

EditorPane::EditorPane(model::CQeltoDoc& doc, const platform::LanguageCatalog& texts,
                       bool americanMode, QWidget* parent)
    : EditorPane(nullptr, doc, texts, americanMode, parent) {}

EditorPane::EditorPane(std::unique_ptr<Standalone> own, model::CQeltoDoc& doc,
                       const platform::LanguageCatalog& texts, bool americanMode, QWidget* parent)
    : QSplitter(parent),
      own_(std::move(own)),
      ctx_(doc, texts),
      tree_(new NavTree(ctx_, this)),
      stack_(new QStackedWidget(this)),
      global_(new GlobalView(ctx_, stack_)),
      program_(new ProgramView(ctx_, stack_)),
      trigger_(new TriggerView(ctx_, stack_)),
      pump_(new PumpView(ctx_, stack_)) {
    ctx_.american = americanMode;
    addWidget(tree_);
    addWidget(stack_);
    setStretchFactor(0, 0);
    setStretchFactor(1, 1);
    setSizes({220, 640});
    tree_->setMinimumWidth(180);
    for (DetailView* view : {static_cast<DetailView*>(global_), static_cast<DetailView*>(program_),
                             static_cast<DetailView*>(trigger_), static_cast<DetailView*>(pump_)}) {
        stack_->addWidget(view);
        connect(view, &DetailView::edited, this, &EditorPane::markModified);
        connect(view, &DetailView::imagesChanged, tree_, &NavTree::refreshImages);
        connect(view, &DetailView::programNameChanged, tree_, &NavTree::updateProgramText);
        connect(view, &DetailView::pumpNameChanged, tree_, &NavTree::updatePumpText);
    }
    // A new model changes which pumps and triggers exist, so the tree is built again.
    connect(global_, &DetailView::unitTypeChanged, this, [this] { tree_->rebuild(); });
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { showItem(item); });
    connect(tree_, &NavTree::programChanged, this, [this] {
        markModified();
        currentView()->refresh();
    });
    connect(tree_, &NavTree::pumpRenamed, this, [this] {
        markModified();
        currentView()->refresh();
    });
    reload();
}

EditorPane::~EditorPane() = default;

void EditorPane::reload() {
    ctx_.controls = ctx_.rules.apply(ctx_.doc, ctx_.config().unitType, false);
    tree_->rebuild();
}

void EditorPane::setAmericanMode(bool american) {
    ctx_.american = american;
    currentView()->refresh();
}

DetailView* EditorPane::currentView() const {
    return static_cast<DetailView*>(stack_->currentWidget());
}

void EditorPane::showItem(QTreeWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    const quint32 datum = NavTree::datumOf(item);
    DetailView* view = global_;
    switch (NavTree::imageOf(item)) {
        case kImageProgram:
        case kImageProgramActive:
            view = program_;
            break;
        case kImageTrigger:
        case kImageTriggerActive:
            view = trigger_;
            break;
        case kImagePump:
            view = pump_;
            break;
        default:
            break;
    }
    if (view != global_) {
        ctx_.selection.programByte = static_cast<std::uint8_t>(datum & 0xFF);
        ctx_.selection.stepByte = static_cast<std::uint8_t>((datum >> 8) & 0xFF);
    }
    stack_->setCurrentWidget(view);
    view->refresh();
}

void EditorPane::markModified() {
    ctx_.doc.setModifiedFlag();
    Q_EMIT documentModified();
}

}  // namespace qelto::app
