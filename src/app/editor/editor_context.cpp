#include "app/editor/editor_context.h"

#include <algorithm>

#include "platform/text_encoding.h"

namespace qelto::app {

unsigned EditorContext::pumpCount() const {
    return std::min<unsigned>(doc.pumpCount(), model::kPumps);
}

unsigned EditorContext::triggerCount() const {
    return std::min<unsigned>(doc.triggerCount(), model::kTriggers);
}

QString fromRecord(std::string_view latin1) {
    return QString::fromStdString(platform::latin1ToUtf8(latin1));
}

std::string toRecord(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return platform::utf8ToLatin1(
               std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())))
        .value_or(std::string{});
}

}  // namespace qelto::app
