// Scripted answers for the batch dialogs' questions, and a record of what they said.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/batch/batch_dialog_prompts.h"

namespace qelto::test {

class ScriptedBatchPrompts final : public app::BatchDialogPrompts {
  public:
    void warn(const std::string& text, comms::BatchField) override { warned.push_back(text); }
    void error(const std::string& text) override { warned.push_back(text); }
    bool askYesNo(const std::string& text, const std::string& caption) override {
        asked.push_back(caption.empty() ? text : caption + ": " + text);
        return next();
    }
    bool askOkCancel(const std::string& text) override {
        asked.push_back(text);
        return next();
    }
    QString chooseFolder(QWidget*, const QString&, const QString&) override { return folder; }
    void beep() override { ++beeps; }

    std::deque<bool> answers;  // in order; unscripted questions are answered No / Cancel
    QString folder;
    std::vector<std::string> warned, asked;
    int beeps = 0;

  private:
    bool next() {
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace qelto::test
