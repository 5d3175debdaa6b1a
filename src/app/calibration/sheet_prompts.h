// What the calibration sheet asks and tells the engineer: the family's questions and messages
// (comms::BasicPrompts), its messages under a caption of their own. The sheet goes through this
// interface so tests answer without modal boxes.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "comms/operator_prompts.h"

namespace qelto::app {

class SheetPrompts : public comms::BasicPrompts {
  public:
    virtual void message(const QString& text, const QString& caption, comms::MessageIcon icon) = 0;
};

// Message boxes over the sheet.
class DialogSheetPrompts final : public SheetPrompts {
  public:
    explicit DialogSheetPrompts(QWidget* parent) : parent_(parent) {}
    bool askYesNo(const comms::Question& question) override;
    bool askOkCancel(const comms::Question& question) override;
    void messageText(const std::string& text, comms::MessageIcon icon) override;
    void message(const QString& text, const QString& caption, comms::MessageIcon icon) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace qelto::app
