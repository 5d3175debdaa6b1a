// The engineer's side of a legacy operation in the window. The operation runs on a worker
// thread; every question and message hops to the GUI thread, is shown as a dialog there, and the
// worker waits for the answer.
#pragma once

#include <QPointer>
#include <QWidget>
#include <atomic>

#include "legacy/legacy_prompts.h"
#include "platform/language_catalog.h"

namespace qelto::app::forms {

class LegacyDialogPrompts final : public legacy::LegacyPrompts {
  public:
    // Dialogs are parented to parent; texts must outlive the operation.
    LegacyDialogPrompts(const platform::LanguageCatalog& texts, QWidget* parent);

    std::optional<std::int16_t> askPassword() override;
    bool askYesNo(int textId) override;
    void message(int textId, legacy::LegacyIcon icon,
                 std::optional<legacy::UnitNameText> unit) override;

    // Once abandoned (the form is closing), every question is answered with cancel or no, and
    // messages are dropped, so the worker ends without a window to ask.
    void abandon() { abandoned_ = true; }

    // The unit's name as a message shows it.
    static QString unitName(const platform::LanguageCatalog& texts,
                            const legacy::UnitNameText& unit);

  private:
    template <typename Result, typename Ask>
    Result onGuiThread(Result fallback, Ask ask);

    const platform::LanguageCatalog& texts_;
    QPointer<QWidget> parent_;
    std::atomic<bool> abandoned_{false};
};

}  // namespace qelto::app::forms
