// Every question and message the shell puts to the engineer goes through this interface, so tests
// answer them without a modal box. It is the family's slice (comms::BasicPrompts) with what only
// the shell asks besides: a three-way question, messages over a window, and the file dialogs.
#pragma once

#include <QString>

#include "comms/operator_prompts.h"

class QWidget;

namespace qelto::app {

enum class Answer { Yes, No, Cancel };

class ShellPrompts : public comms::BasicPrompts {
  public:
    // Over the active window: information as inform(), anything else as warn().
    void messageText(const std::string& text, comms::MessageIcon icon) override;
    virtual Answer askYesNoCancel(QWidget* parent, const QString& message) = 0;
    virtual void inform(QWidget* parent, const QString& message) = 0;
    virtual void warn(QWidget* parent, const QString& message) = 0;
    // A file to open or a name to save under; empty when the engineer cancels.
    virtual QString chooseOpenFile(QWidget* parent, const QString& caption,
                                   const QString& filter) = 0;
    virtual QString chooseSaveFile(QWidget* parent, const QString& caption,
                                   const QString& suggested, const QString& filter) = 0;
};

// The real boxes and file dialogs.
class DialogPrompts final : public ShellPrompts {
  public:
    bool askYesNo(const comms::Question& question) override;
    Answer askYesNoCancel(QWidget* parent, const QString& message) override;
    void inform(QWidget* parent, const QString& message) override;
    void warn(QWidget* parent, const QString& message) override;
    QString chooseOpenFile(QWidget* parent, const QString& caption, const QString& filter) override;
    QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                           const QString& filter) override;
};

}  // namespace qelto::app
