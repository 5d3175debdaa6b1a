// What batch programming asks or tells the engineer. The batch forms of the window answer with
// message boxes and focus changes; qeltoctl answers from its flags or the terminal; tests script
// the answers. The texts are the batch forms' own fixed wording, not catalog numbers.
#pragma once

#include <string>

namespace qelto::comms {

// The field of the batch setup form that a refusal points at.
enum class BatchField { SalesOrder, BatchSize, LogDirectory };

class BatchPrompts {
  public:
    virtual ~BatchPrompts() = default;

    // A refused entry, with the warning icon; the form keeps its values and puts the focus on
    // the field.
    virtual void warn(const std::string& text, BatchField field) = 0;
    // Something failed that the engineer must put right (a settings file that cannot be written).
    virtual void error(const std::string& text) = 0;
    // A Yes/No question with the question icon; true for Yes. An empty caption leaves it to the
    // front end.
    virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;
    // An OK/Cancel question; true for OK.
    virtual bool askOkCancel(const std::string& text) = 0;
};

}  // namespace qelto::comms
