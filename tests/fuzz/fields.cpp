// The '|' splitter: the fields of one pass joined again with '|' are the text
// itself, and pipeField(n) finds the same field as FieldList for every n,
// one past the last included. The input is read as UTF-16 units, and as
// bytes for the narrow splitter.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "model/fields.h"
#include "model/text.h"

template <typename Ch>
static void checkSplit(const Ch *text, size_t length) {
    FieldList<Ch> fields(text, length);
    if (fields.size() == 0) abort();
    std::vector<Ch> joined;
    for (size_t n = 0; n < fields.size(); ++n) {
        if (n > 0) joined.push_back(Ch('|'));
        const Ch *data = fields.data(n);
        for (size_t i = 0; i < fields.length(n); ++i) {
            if (data[i] == Ch('|')) abort();
            joined.push_back(data[i]);
        }
    }
    if (joined.size() != length) abort();
    if (length > 0 && std::memcmp(joined.data(), text, length * sizeof(Ch)) != 0) abort();
    if (fields.itemCount() > fields.size()) abort();
    if (fields.length(fields.size()) != 0) abort();
}

// pipeField stops at the first zero unit, so it is compared with the
// fields of the text up to there.
template <typename Ch, typename Extract>
static void checkPipeField(const Ch *text, size_t length, Extract extract) {
    size_t terminated = 0;
    while (terminated < length && text[terminated] != 0) ++terminated;
    std::vector<Ch> copy(text, text + terminated);
    copy.push_back(Ch(0));
    FieldList<Ch> fields(copy.data(), terminated);
    for (size_t n = 0; n <= fields.size(); ++n) {
        if (extract(copy.data(), n) != fields.text(n)) abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // Exactly sized copies, so a read past the length is caught.
    std::vector<char> narrow(data, data + size);
    checkSplit(narrow.data(), size);

    size_t units = size / 2;
    std::vector<TextUnit> wide(units);
    if (units > 0) std::memcpy(wide.data(), data, units * 2);
    checkSplit(wide.data(), units);
    checkPipeField(wide.data(), units, [](const TextUnit *t, size_t n) { return pipeField(t, n); });
    return 0;
}
