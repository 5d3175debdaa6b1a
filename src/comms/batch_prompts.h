// What batch programming asks or tells the engineer. The batch forms of the window answer with
// message boxes and focus changes; qeltoctl answers from its flags or the terminal; tests script
// the answers. The texts are the batch forms' own fixed wording, not catalog numbers.
#pragma once

#include <string>

#include "comms/operator_prompts.h"

namespace qelto::comms {

// The field of the batch setup form that a refusal points at.
enum class BatchField { SalesOrder, BatchSize, LogDirectory };

// Questions are asked, and failures the engineer must put right (a settings file that cannot be
// written) told with messageText, through the family's slice; a refused entry points at its field.
class BatchPrompts : public BasicPrompts {
  public:
    // A refused entry, with the warning icon; the form keeps its values and puts the focus on
    // the field.
    virtual void warn(const std::string& text, BatchField field) = 0;
};

}  // namespace qelto::comms
