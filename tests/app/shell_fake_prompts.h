// Scripted answers for the shell's questions, and a record of everything it said.
#pragma once

#include <QStringList>
#include <deque>

#include "app/shell/shell_prompts.h"

namespace qelto::test {

class FakePrompts final : public app::ShellPrompts {
  public:
    bool askYesNo(const comms::Question& question) override {
        asked.append(QString::fromStdString(question.text));
        return next(app::Answer::No) == app::Answer::Yes;
    }
    app::Answer askYesNoCancel(QWidget*, const QString& message) override {
        asked.append(message);
        return next(app::Answer::Cancel);
    }
    void inform(QWidget*, const QString& message) override { told.append(message); }
    void warn(QWidget*, const QString& message) override { warned.append(message); }
    QString chooseOpenFile(QWidget*, const QString&, const QString&) override { return takeFile(); }
    QString chooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override {
        return takeFile();
    }

    std::deque<app::Answer> answers;  // for the questions, in order; unscripted ones: No/Cancel
    QStringList files;                // for the file dialogs, in order; none left: cancelled
    QStringList asked, told, warned;

  private:
    app::Answer next(app::Answer fallback) {
        if (answers.empty()) {
            return fallback;
        }
        const app::Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString takeFile() { return files.isEmpty() ? QString() : files.takeFirst(); }
};

}  // namespace qelto::test
