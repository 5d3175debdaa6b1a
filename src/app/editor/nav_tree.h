// The navigation tree: the unit, its programs with their triggers, and its pumps. Each item
// carries the packed position the detail views read (program in bits 0-4, trigger in bits 8-11,
// pump in bits 12-15; the unit's item all ones) and its picture number. Whole programs are
// copied through the clipboard, dragged onto each other, cleared and renamed here.
#pragma once

#include <QTreeWidget>
#include <functional>
#include <optional>

#include "app/editor/editor_context.h"

class QMenu;

namespace qelto::app {

inline constexpr quint32 kRootDatum = 0xFFFFFFFFu;
// Above the position: the first trigger and the first pump would otherwise carry program 1's
// datum, and a copied datum must tell a program from every other item.
inline constexpr quint32 kTriggerDatumMark = 1u << 16;
inline constexpr quint32 kPumpDatumMark = 1u << 17;
inline constexpr char kProgramMimeType[] = "application/x-qelto-program";

// The questions and messages the tree asks; tests answer them instead of a person.
struct EditorPrompts {
    std::function<bool(const QString& question)> confirm;
    std::function<void(const QString& message)> inform;
    std::function<std::optional<QString>(const QString& title, const QString& current)> askName;
};
EditorPrompts interactivePrompts(QWidget* parent, const EditorContext& context);

class NavTree final : public QTreeWidget {
    Q_OBJECT

  public:
    static constexpr int kDatumRole = Qt::UserRole;
    static constexpr int kImageRole = Qt::UserRole + 1;

    NavTree(EditorContext& context, QWidget* parent = nullptr);

    void setPrompts(EditorPrompts prompts) { prompts_ = std::move(prompts); }

    // Recreates every item from the record and selects the unit (or the item of `keep`).
    void rebuild(std::optional<quint32> keep = std::nullopt);
    // Recomputes the pictures of the selected program and its triggers.
    void refreshImages();
    void updateProgramText(int program);
    void updatePumpText(int pump);

    QTreeWidgetItem* programItem(int program) const;
    QTreeWidgetItem* triggerItem(int program, int trigger) const;
    QTreeWidgetItem* pumpItem(int pump) const;
    static int imageOf(const QTreeWidgetItem* item);
    static quint32 datumOf(const QTreeWidgetItem* item);

    // The editing commands on the selected item.
    void copySelected();
    void pasteOnSelected();
    void clearSelected();
    void renameSelectedProgram();
    void renameSelectedPump();

    // The popup for an item (nullptr for items that have none); the caller owns it.
    QMenu* contextMenuFor(QTreeWidgetItem* item);

  Q_SIGNALS:
    void programChanged(int program);  // steps, name or both
    void pumpRenamed(int pump);

  protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QString programText(int program) const;
    QString pumpText(int pump) const;
    int selectedProgram() const;  // -1 unless a program item is selected
    std::optional<int> draggedProgram(const QMimeData* mime) const;
    QTreeWidgetItem* dropTarget(const QPoint& pos, const QMimeData* mime) const;
    void copyProgram(int source, int dest);
    void setImages(QTreeWidgetItem* programItem, int program);

    EditorContext& ctx_;
    EditorPrompts prompts_;
    QTreeWidgetItem* root_ = nullptr;
};

}  // namespace qelto::app
