// What the batch dialogs ask or tell: the batch questions of the core, the folder browser and
// the error beep. The window answers with message boxes; tests script the answers.
#pragma once

#include <QString>

#include "comms/batch_prompts.h"

class QWidget;

namespace qelto::app {

class BatchDialogPrompts : public comms::BatchPrompts {
  public:
    // The folder chosen, or empty when the engineer cancels.
    virtual QString chooseFolder(QWidget* parent, const QString& title, const QString& start) = 0;
    // The error beep of a refused entry (an empty user name, a wrong password).
    virtual void beep() = 0;
};

// Message boxes over the dialog that asks, and the real folder browser.
class MessageBoxBatchPrompts final : public BatchDialogPrompts {
  public:
    explicit MessageBoxBatchPrompts(QWidget* parent) : parent_(parent) {}

    void warn(const std::string& text, comms::BatchField field) override;
    void messageText(const std::string& text, comms::MessageIcon icon) override;
    bool askYesNo(const comms::Question& question) override;
    bool askOkCancel(const comms::Question& question) override;
    QString chooseFolder(QWidget* parent, const QString& title, const QString& start) override;
    void beep() override;

  private:
    QWidget* owner() const;

    QWidget* parent_;
};

}  // namespace qelto::app
