#include "model/markup.h"

#include "model/numbers.h"

#include <cstring>

namespace {

bool sameAscii(const TextUnit *units, size_t length, const char *ascii) {
    if (ascii == nullptr || std::strlen(ascii) != length) return false;
    for (size_t i = 0; i < length; ++i) {
        if (units[i] != TextUnit(static_cast<unsigned char>(ascii[i]))) return false;
    }
    return true;
}

} // namespace

bool MarkupElement::nameIs(const char *ascii) const {
    return sameAscii(name, nameLength, ascii);
}

bool MarkupElement::valueIs(const char *ascii) const {
    return sameAscii(value, valueLength, ascii);
}

WideText MarkupElement::valueText() const {
    return WideText(value, valueLength);
}

MarkupScanner::MarkupScanner(const TextUnit *text, size_t length)
    : text_(text), length_(text ? length : 0), position_(0), objectCount_(0), inObject_(false) {}

// The index of the first `unit` at or after `from`; length_ when none.
size_t MarkupScanner::find(TextUnit unit, size_t from) const {
    while (from < length_ && text_[from] != unit) ++from;
    return from;
}

bool MarkupScanner::readElement(MarkupElement &element) {
    const size_t open = find(TextUnit('<'), position_);
    if (open >= length_) {
        position_ = length_;
        return false;
    }
    const size_t nameStart = open + 1;
    const size_t nameEnd = find(TextUnit('>'), nameStart);
    const size_t valueStart = nameEnd < length_ ? nameEnd + 1 : length_;
    const size_t valueEnd = find(TextUnit('<'), valueStart);
    element.name = text_ + nameStart;
    element.nameLength = nameEnd - nameStart;
    element.value = text_ + valueStart;
    if (valueEnd + 1 < length_ && text_[valueEnd + 1] == TextUnit('/')) {
        element.valueLength = valueEnd - valueStart;
        const size_t closeEnd = find(TextUnit('>'), valueEnd + 1);
        position_ = closeEnd < length_ ? closeEnd + 1 : length_;
    } else {
        // No closing tag: the text up to here belongs to no element.
        element.valueLength = 0;
        position_ = valueEnd;
    }
    return true;
}

bool MarkupScanner::next(MarkupElement &element) {
    while (readElement(element)) {
        if (inObject_) {
            if (element.nameIs("/object")) {
                inObject_ = false;
                continue;
            }
            element.object = objectCount_;
            return true;
        }
        if (element.nameIs("object")) {
            ++objectCount_;
            inObject_ = true;
            continue;
        }
        element.object = 0;
        return true;
    }
    return false;
}

int32_t markupNumber(const MarkupElement &element) {
    const size_t length = element.valueLength < kMaxMarkupDigits ? element.valueLength : kMaxMarkupDigits;
    return int32_t(leadingDigits(element.value, length, INT32_MAX));
}

bool markupFlag(const MarkupElement &element) {
    return element.valueIs("true");
}
