#include "runtime/message_copy.h"

namespace {

constexpr TextUnit kCarriageReturn = TextUnit(13);
constexpr TextUnit kLineFeed = TextUnit(10);

void appendWithBreaks(WideText &out, const WideText &text) {
    const size_t n = text.length();
    for (size_t i = 0; i < n; ++i) {
        const TextUnit unit = text[i];
        if (unit != kCarriageReturn && unit != kLineFeed) {
            out.push_back(unit);
            continue;
        }
        out.push_back(kCarriageReturn);
        out.push_back(kLineFeed);
        if (unit == kCarriageReturn && i + 1 < n && text[i + 1] == kLineFeed) ++i;
    }
}

} // namespace

WideText messageCopyText(const WideText &title, const WideText &message) {
    WideText copy;
    copy.reserve(title.length() + 4 + 2 * message.length());
    appendWithBreaks(copy, title);
    if (!title.empty() && !message.empty()) {
        for (TextUnit unit : {kCarriageReturn, kLineFeed, kCarriageReturn, kLineFeed}) copy.push_back(unit);
    }
    appendWithBreaks(copy, message);
    return copy;
}
