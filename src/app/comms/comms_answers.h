// Everything the communications dialog asks the engineer, on the GUI thread. The window answers
// with real dialogs; tests answer from a script, so no modal box ever waits for a click.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "comms/differences.h"
#include "comms/operator_prompts.h"
#include "platform/language_catalog.h"

class QWidget;

namespace qelto::app {

class CommsAnswers {
  public:
    virtual ~CommsAnswers() = default;
    // nullopt when the engineer cancels.
    virtual std::optional<std::uint16_t> askPin(QWidget* parent) = 0;
    // An older unit's password; answers that never meet older units cancel.
    virtual std::optional<std::int16_t> askPassword(QWidget* parent) {
        (void)parent;
        return std::nullopt;
    }
    virtual std::optional<comms::Options> askOptions(QWidget* parent, comms::OptionsKind kind,
                                                     const comms::Options& preset) = 0;
    virtual std::optional<int> askCalibrationChoice(
        QWidget* parent, const comms::CalibrationComparison& comparison) = 0;
    virtual bool askYesNo(QWidget* parent, const QString& text, const QString& caption) = 0;
    virtual void message(QWidget* parent, const QString& text, comms::MessageIcon icon,
                         const QString& caption) = 0;
    // A verify found differences: the list, for the engineer to look through.
    virtual void showDifferences(QWidget* parent,
                                 const std::vector<comms::Difference>& differences) = 0;
};

// The real dialogs, with texts from the catalog.
class DialogCommsAnswers final : public CommsAnswers {
  public:
    explicit DialogCommsAnswers(const platform::LanguageCatalog& texts) : texts_(texts) {}

    std::optional<std::uint16_t> askPin(QWidget* parent) override;
    std::optional<std::int16_t> askPassword(QWidget* parent) override;
    std::optional<comms::Options> askOptions(QWidget* parent, comms::OptionsKind kind,
                                             const comms::Options& preset) override;
    std::optional<int> askCalibrationChoice(
        QWidget* parent, const comms::CalibrationComparison& comparison) override;
    bool askYesNo(QWidget* parent, const QString& text, const QString& caption) override;
    void message(QWidget* parent, const QString& text, comms::MessageIcon icon,
                 const QString& caption) override;
    void showDifferences(QWidget* parent,
                         const std::vector<comms::Difference>& differences) override;

  private:
    const platform::LanguageCatalog& texts_;
};

}  // namespace qelto::app
