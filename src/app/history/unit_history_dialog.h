// The Unit history window: what Qelto did to the chosen unit (or to every unit), and for the
// entries that kept the unit's settings, opening them as a document, comparing them with the
// document open or with the unit's settings before, and writing them back into the unit.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "comms/history_recorder.h"

class QCheckBox;
class QPushButton;
class QTreeWidget;

namespace qelto::app {

struct ShellContext;
class CommsAnswers;

struct HistoryDialogActions {
    // Opens the bytes of a saved document in the window; false when the engineer kept the
    // document open instead, or the bytes could not be opened.
    std::function<bool(const std::vector<std::uint8_t>& snapshot)> openAsDocument;
    // Writes the document open into unit serial and into no other.
    std::function<void(std::uint32_t serial)> restoreToUnit;
};

class UnitHistoryDialog final : public QDialog {
    Q_OBJECT

  public:
    // Lists the chosen unit's entries, or every unit's when none is chosen.
    UnitHistoryDialog(ShellContext& context, comms::UnitHistory& history, CommsAnswers& answers,
                      HistoryDialogActions actions, QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
    // Reads the entries again (after a restore, which adds some).
    void refill();

  private:
    // The selected entry with its settings; nullopt (and the engineer told) when it has none.
    std::optional<comms::HistoryEntry> selectedSnapshot();
    void openSelected();
    void compareWithDocument();
    void compareWithPrevious();
    void restoreSelected();
    void showDifferences(const std::vector<std::uint8_t>& older,
                         const std::vector<std::uint8_t>& newer, const QStringList& sides);
    void updateButtons();
    void warn(const std::string& reason);

    ShellContext& context_;
    comms::UnitHistory& history_;
    CommsAnswers& answers_;
    HistoryDialogActions actions_;
    std::optional<std::uint32_t> unit_;  // the chosen unit, when there is one
    QCheckBox* allUnits_;
    QTreeWidget* list_;
    QPushButton* open_;
    QPushButton* compareDocument_;
    QPushButton* comparePrevious_;
    QPushButton* restore_;
};

}  // namespace qelto::app
