// The options of a read, a write or a verify: which parts of the unit to move or compare. Each
// kind shows the flags it gives a meaning to; the others pass through unchanged.
#pragma once

#include <QDialog>
#include <array>

#include "comms/operator_prompts.h"
#include "platform/language_catalog.h"

class QCheckBox;

namespace qelto::app {

class OptionsDialog final : public QDialog {
    Q_OBJECT

  public:
    OptionsDialog(const platform::LanguageCatalog& texts, comms::OptionsKind kind,
                  const comms::Options& preset, QWidget* parent = nullptr);

    comms::Options options() const;
    // The check box of a flag (in the order of comms::Options, 0..8); nullptr when this kind
    // does not show it.
    QCheckBox* flagBox(int flag) const { return boxes_[static_cast<std::size_t>(flag)]; }

  private:
    comms::Options preset_;
    std::array<QCheckBox*, 9> boxes_{};
};

}  // namespace qelto::app
