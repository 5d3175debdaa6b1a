// What the calibration sheet asks and tells the engineer: OK/Cancel questions and message boxes.
// The sheet goes through this interface so tests answer without modal boxes.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "comms/operator_prompts.h"

namespace qelto::app {

class SheetPrompts {
  public:
    virtual ~SheetPrompts() = default;
    // True for OK.
    virtual bool confirm(const QString& text, const QString& caption) = 0;
    virtual void message(const QString& text, const QString& caption, comms::MessageIcon icon) = 0;
};

// Message boxes over the sheet.
class DialogSheetPrompts final : public SheetPrompts {
  public:
    explicit DialogSheetPrompts(QWidget* parent) : parent_(parent) {}
    bool confirm(const QString& text, const QString& caption) override;
    void message(const QString& text, const QString& caption, comms::MessageIcon icon) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace qelto::app
