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
    void messageText(const std::string& text, comms::MessageIcon) override {
        warned.push_back(text);
    }
    bool askYesNo(const comms::Question& question) override {
        asked.push_back(question.caption.empty() ? question.text
                                                 : question.caption + ": " + question.text);
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
