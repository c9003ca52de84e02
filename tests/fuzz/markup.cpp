// The markup scanner: any text is read to its end in at most one element per
// '<', every name and value lies inside the given length (the text sits in a
// heap buffer of exactly that size), an element belongs to the window (0) or
// to the object started last, and a number is never negative.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "model/markup.h"

static bool inside(const TextUnit *begin, size_t length, const TextUnit *part, size_t partLength) {
    return part >= begin && part <= begin + length && partLength <= size_t(begin + length - part);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    size_t units = size / 2;
    std::unique_ptr<TextUnit[]> text(new TextUnit[units ? units : 1]);
    if (units > 0) std::memcpy(text.get(), data, units * 2);
    const TextUnit *begin = units ? text.get() : nullptr;

    size_t opens = 0;
    for (size_t i = 0; i < units; ++i) opens += text[i] == TextUnit('<');

    MarkupScanner scanner(begin, units);
    MarkupElement element;
    size_t elements = 0;
    while (scanner.next(element)) {
        if (++elements > opens) abort();
        if (!inside(begin, units, element.name, element.nameLength)) abort();
        if (!inside(begin, units, element.value, element.valueLength)) abort();
        // A window element (0) or an attribute of the object started last.
        if (element.object != 0 && element.object != scanner.objectCount()) abort();
        if (markupNumber(element) < 0) abort();
        if (markupFlag(element) != element.valueIs("true")) abort();
        if (element.valueText().length() != element.valueLength) abort();
    }
    if (size_t(scanner.objectCount()) > opens) abort();
    // Once at the end it stays there.
    if (scanner.next(element)) abort();
    return 0;
}
