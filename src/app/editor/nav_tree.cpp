#include "app/editor/nav_tree.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QtEndian>

#include "app/editor/editor_texts.h"
#include "app/editor/nav_icons.h"

namespace qelto::app {
namespace {

QByteArray datumBytes(quint32 datum) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(datum, bytes.data());
    return bytes;
}

bool isProgramImage(int image) {
    return image == kImageProgram || image == kImageProgramActive;
}

}  // namespace

EditorPrompts interactivePrompts(QWidget* parent, const EditorContext& context) {
    EditorPrompts prompts;
    prompts.confirm = [parent](const QString& question) {
        return QMessageBox::question(parent, QApplication::applicationDisplayName(), question,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    prompts.inform = [parent](const QString& message) {
        QMessageBox::information(parent, QApplication::applicationDisplayName(), message);
    };
    const QString label = context.text(text::kNameLabel);
    prompts.askName = [parent, label](const QString& title,
                                      const QString& current) -> std::optional<QString> {
        bool ok = false;
        const QString name =
            QInputDialog::getText(parent, title, label, QLineEdit::Normal, current, &ok);
        return ok ? std::optional<QString>(name) : std::nullopt;
    };
    return prompts;
}

NavTree::NavTree(EditorContext& context, QWidget* parent)
    : QTreeWidget(parent), ctx_(context), prompts_(interactivePrompts(this, context)) {
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);

    auto addShortcut = [this](QKeySequence::StandardKey key, void (NavTree::*command)()) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, command);
        addAction(action);
    };
    addShortcut(QKeySequence::Copy, &NavTree::copySelected);
    addShortcut(QKeySequence::Paste, &NavTree::pasteOnSelected);
}

int NavTree::imageOf(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(0, kImageRole).toInt() : -1;
}

quint32 NavTree::datumOf(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(0, kDatumRole).toUInt() : kRootDatum;
}

QString NavTree::programText(int program) const {
    const QString label = ctx_.text(text::kProgram);
    const QString number = QStringLiteral("%1").arg(program + 1, 2, 10, QLatin1Char('0'));
    const std::string& name = ctx_.config().progName[static_cast<std::size_t>(program)];
    if (name.empty()) {
        return QStringLiteral("%1 %2").arg(label, number);
    }
    return QStringLiteral("%1 %2: %3").arg(label, number, fromRecord(name));
}

QString NavTree::pumpText(int pump) const {
    const QString label = ctx_.text(text::kPump);
    const QString number = QStringLiteral("%1").arg(pump + 1, 2, 10, QLatin1Char('0'));
    const std::string& name = ctx_.config().pumpName[static_cast<std::size_t>(pump)];
    if (name.empty()) {
        return QStringLiteral("%1 %2").arg(label, number);
    }
    return QStringLiteral("%1 %2: %3").arg(label, number, fromRecord(name));
}

void NavTree::rebuild(std::optional<quint32> keep) {
    QSignalBlocker blocker(this);
    clear();
    root_ = new QTreeWidgetItem(this, {ctx_.text(text::kRoot)});
    root_->setData(0, kDatumRole, kRootDatum);
    root_->setData(0, kImageRole, kImageRoot);
    root_->setIcon(0, navIcon(kImageRoot));
    root_->setFlags(root_->flags() & ~Qt::ItemIsDragEnabled & ~Qt::ItemIsDropEnabled);
    const unsigned triggers = ctx_.triggerCount();
    const QString triggerLabel = ctx_.text(text::kTrigger);
    for (int p = 0; p < static_cast<int>(model::kPrograms); ++p) {
        auto* program = new QTreeWidgetItem(root_, {programText(p)});
        program->setData(0, kDatumRole, static_cast<quint32>(p));
        for (unsigned t = 0; t < triggers; ++t) {
            auto* trigger = new QTreeWidgetItem(
                program, {QStringLiteral("%1 %2").arg(triggerLabel).arg(t + 1)});
            trigger->setData(0, kDatumRole, static_cast<quint32>(p) + 256u * t + kTriggerDatumMark);
            trigger->setFlags(trigger->flags() & ~Qt::ItemIsDragEnabled);
        }
        setImages(program, p);
    }
    // The pumps hang under the unit after the programs; their datum holds the pump in the high
    // nibble of the step byte, where the selection keeps it.
    for (int i = 0; i < static_cast<int>(ctx_.pumpCount()); ++i) {
        auto* pump = new QTreeWidgetItem(root_, {pumpText(i)});
        pump->setData(0, kDatumRole, (static_cast<quint32>(i) << 12) | kPumpDatumMark);
        pump->setData(0, kImageRole, kImagePump);
        pump->setIcon(0, navIcon(kImagePump));
        pump->setFlags(pump->flags() & ~Qt::ItemIsDragEnabled & ~Qt::ItemIsDropEnabled);
    }
    root_->setExpanded(true);
    QTreeWidgetItem* selected = root_;
    if (keep) {
        for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it) {
            if (datumOf(*it) == *keep && imageOf(*it) != kImageRoot) {
                selected = *it;
                break;
            }
        }
    }
    setCurrentItem(selected);
    blocker.unblock();
    Q_EMIT currentItemChanged(selected, nullptr);
}

void NavTree::setImages(QTreeWidgetItem* programItem, int program) {
    const auto p = static_cast<std::size_t>(program);
    const unsigned pumps = ctx_.pumpCount();
    bool programActive = false;
    for (int t = 0; t < programItem->childCount(); ++t) {
        bool active = false;
        for (unsigned i = 0; i < pumps; ++i) {
            active = active || ctx_.config().pumpEnabled[p][static_cast<std::size_t>(t)][i] != 0;
        }
        programActive = programActive || active;
        const int image = active ? kImageTriggerActive : kImageTrigger;
        programItem->child(t)->setData(0, kImageRole, image);
        programItem->child(t)->setIcon(0, navIcon(image));
    }
    const int image = programActive ? kImageProgramActive : kImageProgram;
    programItem->setData(0, kImageRole, image);
    programItem->setIcon(0, navIcon(image));
}

void NavTree::refreshImages() {
    const int program = ctx_.selection.program();
    if (QTreeWidgetItem* item = programItem(program)) {
        setImages(item, program);
    }
}

void NavTree::updateProgramText(int program) {
    if (QTreeWidgetItem* item = programItem(program)) {
        item->setText(0, programText(program));
    }
}

void NavTree::updatePumpText(int pump) {
    if (QTreeWidgetItem* item = pumpItem(pump)) {
        item->setText(0, pumpText(pump));
    }
}

QTreeWidgetItem* NavTree::programItem(int program) const {
    if (root_ == nullptr || program < 0 || program >= static_cast<int>(model::kPrograms)) {
        return nullptr;
    }
    return root_->child(program);
}

QTreeWidgetItem* NavTree::triggerItem(int program, int trigger) const {
    QTreeWidgetItem* item = programItem(program);
    return item != nullptr && trigger >= 0 && trigger < item->childCount() ? item->child(trigger)
                                                                           : nullptr;
}

QTreeWidgetItem* NavTree::pumpItem(int pump) const {
    if (root_ == nullptr || pump < 0 || pump >= static_cast<int>(ctx_.pumpCount())) {
        return nullptr;
    }
    return root_->child(static_cast<int>(model::kPrograms) + pump);
}

int NavTree::selectedProgram() const {
    const QTreeWidgetItem* item = currentItem();
    return isProgramImage(imageOf(item)) ? static_cast<int>(datumOf(item) & 0x1F) : -1;
}

void NavTree::copySelected() {
    const QTreeWidgetItem* item = currentItem();
    if (item == nullptr) {
        return;
    }
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kProgramMimeType), datumBytes(datumOf(item)));
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setMimeData(mime);
    const QMimeData* now = clipboard->mimeData();
    if (now == nullptr || !now->hasFormat(QString::fromLatin1(kProgramMimeType))) {
        prompts_.inform(ctx_.text(text::kCopyFailed));
    }
}

std::optional<int> NavTree::draggedProgram(const QMimeData* mime) const {
    if (mime == nullptr || !mime->hasFormat(QString::fromLatin1(kProgramMimeType))) {
        return std::nullopt;
    }
    const QByteArray bytes = mime->data(QString::fromLatin1(kProgramMimeType));
    if (bytes.size() != 4) {
        return std::nullopt;
    }
    const quint32 datum = qFromLittleEndian<quint32>(bytes.constData());
    // Only a program's own datum names a program: a copied trigger, pump or unit is no program
    // to paste (a pump's would read as program 1), nor are programs the record does not have.
    if (datum >= model::kPrograms) {
        return std::nullopt;
    }
    return static_cast<int>(datum);
}

void NavTree::pasteOnSelected() {
    const std::optional<int> source = draggedProgram(QApplication::clipboard()->mimeData());
    if (!source) {
        prompts_.inform(ctx_.text(text::kNothingToPaste));
        return;
    }
    // Only a program or one of its triggers names a program to paste onto.
    const QTreeWidgetItem* item = currentItem();
    const int image = imageOf(item);
    if (!isProgramImage(image) && image != kImageTrigger && image != kImageTriggerActive) {
        return;
    }
    const auto dest = static_cast<int>(datumOf(item) & 0x1F);
    if (*source == dest) {
        return;
    }
    copyProgram(*source, dest);
}

void NavTree::copyProgram(int source, int dest) {
    model::CProgData& config = ctx_.config();
    config.CopyProgram(static_cast<std::uint8_t>(source), static_cast<std::uint8_t>(dest));
    config.progName[static_cast<std::size_t>(dest)] =
        config.progName[static_cast<std::size_t>(source)];
    updateProgramText(dest);
    if (QTreeWidgetItem* item = programItem(dest)) {
        setImages(item, dest);
    }
    Q_EMIT programChanged(dest);
}

void NavTree::clearSelected() {
    const int program = selectedProgram();
    if (program < 0 || !prompts_.confirm(ctx_.text(text::kAskClear))) {
        return;
    }
    ctx_.doc.ClearProgram(static_cast<std::uint8_t>(program));
    ctx_.config().progName[static_cast<std::size_t>(program)].clear();
    updateProgramText(program);
    setImages(programItem(program), program);
    Q_EMIT programChanged(program);
}

void NavTree::renameSelectedProgram() {
    const int program = selectedProgram();
    if (program < 0) {
        return;
    }
    std::string& name = ctx_.config().progName[static_cast<std::size_t>(program)];
    const std::optional<QString> typed =
        prompts_.askName(ctx_.text(text::kRenameProgram), fromRecord(name));
    if (!typed || toRecord(*typed) == name) {
        return;
    }
    name = toRecord(*typed);
    updateProgramText(program);
    Q_EMIT programChanged(program);
}

void NavTree::renameSelectedPump() {
    const QTreeWidgetItem* item = currentItem();
    if (imageOf(item) != kImagePump) {
        return;
    }
    const auto pump = static_cast<int>((datumOf(item) >> 12) & 0x0F);
    std::string& name = ctx_.config().pumpName[static_cast<std::size_t>(pump)];
    const std::optional<QString> typed =
        prompts_.askName(ctx_.text(text::kRenamePump), fromRecord(name));
    if (!typed || toRecord(*typed) == name) {
        return;
    }
    name = toRecord(*typed);
    updatePumpText(pump);
    Q_EMIT pumpRenamed(pump);
}

QMenu* NavTree::contextMenuFor(QTreeWidgetItem* item) {
    const int image = imageOf(item);
    if (isProgramImage(image)) {
        auto* menu = new QMenu(this);
        menu->addAction(ctx_.text(text::kCopyProgram), this, &NavTree::copySelected);
        menu->addAction(ctx_.text(text::kPasteProgram), this, &NavTree::pasteOnSelected);
        menu->addSeparator();
        menu->addAction(ctx_.text(text::kClearProgram), this, &NavTree::clearSelected);
        menu->addAction(ctx_.text(text::kRenameProgram), this, &NavTree::renameSelectedProgram);
        return menu;
    }
    if (image == kImagePump) {
        auto* menu = new QMenu(this);
        menu->addAction(ctx_.text(text::kRenamePump), this, &NavTree::renameSelectedPump);
        return menu;
    }
    return nullptr;
}

void NavTree::contextMenuEvent(QContextMenuEvent* event) {
    QTreeWidgetItem* item =
        event->reason() == QContextMenuEvent::Mouse ? itemAt(event->pos()) : currentItem();
    if (item == nullptr) {
        return;
    }
    setCurrentItem(item);
    QMenu* menu = contextMenuFor(item);
    if (menu == nullptr) {
        return;
    }
    const QPoint at = event->reason() == QContextMenuEvent::Mouse
                          ? event->globalPos()
                          : viewport()->mapToGlobal(visualItemRect(item).center());
    menu->exec(at);
    menu->deleteLater();
}

QStringList NavTree::mimeTypes() const {
    return {QString::fromLatin1(kProgramMimeType)};
}

QMimeData* NavTree::mimeData(const QList<QTreeWidgetItem*>& items) const {
    if (items.size() != 1 || !isProgramImage(imageOf(items.first()))) {
        return nullptr;
    }
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kProgramMimeType), datumBytes(datumOf(items.first())));
    return mime;
}

QTreeWidgetItem* NavTree::dropTarget(const QPoint& pos, const QMimeData* mime) const {
    const std::optional<int> source = draggedProgram(mime);
    QTreeWidgetItem* item = itemAt(pos);
    if (!source || !isProgramImage(imageOf(item)) ||
        static_cast<int>(datumOf(item) & 0x1F) == *source) {
        return nullptr;
    }
    return item;
}

void NavTree::dragEnterEvent(QDragEnterEvent* event) {
    if (draggedProgram(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void NavTree::dragMoveEvent(QDragMoveEvent* event) {
    QTreeWidget::dragMoveEvent(event);
    if (dropTarget(event->position().toPoint(), event->mimeData()) != nullptr) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void NavTree::dropEvent(QDropEvent* event) {
    // The tree never moves its own items: a drop copies a program's settings, nothing else.
    QTreeWidgetItem* target = dropTarget(event->position().toPoint(), event->mimeData());
    const std::optional<int> source = draggedProgram(event->mimeData());
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (target == nullptr || !source || !prompts_.confirm(ctx_.text(text::kAskDropCopy))) {
        return;
    }
    copyProgram(*source, static_cast<int>(datumOf(target) & 0x1F));
}

}  // namespace qelto::app
