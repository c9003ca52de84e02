#include "model/text.h"

#include "model/fields.h"

#include <cstring>

namespace {
ReleaseWatcher gReleaseWatcher = nullptr;
} // namespace

void overwriteReleased(void *block, size_t bytes) {
    if (block == nullptr) return;
#if defined(__GNUC__)
    std::memset(block, 0, bytes);
    // The block is freed next, so the compiler would drop the stores as
    // dead; this tells it the zeros may be read.
    __asm__ __volatile__("" : : "r"(block) : "memory");
#else
    volatile unsigned char *p = static_cast<volatile unsigned char *>(block);
    for (size_t i = 0; i < bytes; ++i) p[i] = 0;
#endif
    if (gReleaseWatcher != nullptr) gReleaseWatcher(block, bytes);
}

void setReleaseWatcher(ReleaseWatcher watcher) {
    gReleaseWatcher = watcher;
}

bool equals(const NarrowText &text, const char *s) {
    return s != nullptr && std::strcmp(text.data(), s) == 0;
}

size_t wideLength(const TextUnit *s) {
    return s ? WideText::lengthOf(s) : 0;
}

size_t wideCopy(TextUnit *dest, size_t capacity, const TextUnit *src) {
    if (dest == nullptr || capacity == 0) return 0;
    size_t n = 0;
    if (src != nullptr) {
        for (; n + 1 < capacity && src[n]; ++n) dest[n] = src[n];
    }
    dest[n] = 0;
    return n;
}

size_t wideCopyNarrow(TextUnit *dest, size_t capacity, const char *src) {
    if (dest == nullptr || capacity == 0) return 0;
    size_t n = 0;
    if (src != nullptr) {
        for (; n + 1 < capacity && src[n]; ++n) dest[n] = TextUnit(static_cast<unsigned char>(src[n]));
    }
    dest[n] = 0;
    return n;
}

int wideCompare(const TextUnit *a, const TextUnit *b) {
    static const TextUnit none[1] = {0};
    if (a == nullptr) a = none;
    if (b == nullptr) b = none;
    size_t i = 0;
    while (a[i] && a[i] == b[i]) ++i;
    return int(a[i]) - int(b[i]);
}

int wideCompareNarrow(const TextUnit *a, const char *keyword) {
    // The keyword is widened into a bounded buffer first, as a keyword
    // longer than that is never one of ours.
    TextUnit widened[1024];
    wideCopyNarrow(widened, 1024, keyword);
    return wideCompare(a, widened);
}

size_t wideCount(const TextUnit *s, TextUnit unit) {
    size_t count = 0;
    for (size_t i = 0; s && s[i]; ++i) {
        if (s[i] == unit) ++count;
    }
    return count;
}

void wideReverse(TextUnit *s) {
    size_t n = wideLength(s);
    for (size_t i = 0; i < n / 2; ++i) {
        TextUnit t = s[i];
        s[i] = s[n - 1 - i];
        s[n - 1 - i] = t;
    }
}

WideText integerToText(long long value, int radix) {
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    if (radix < 2 || radix > 36) return WideText();
    // Work on the magnitude as unsigned so the most negative value has one.
    unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    TextUnit out[72];
    size_t n = 0;
    do {
        out[n++] = TextUnit(digits[magnitude % unsigned(radix)]);
        magnitude /= unsigned(radix);
    } while (magnitude != 0);
    if (value < 0) out[n++] = TextUnit('-');
    out[n] = 0;
    wideReverse(out);
    return WideText(out, n);
}

size_t wholeCharacterCut(const TextUnit *s, size_t length, size_t limit) {
    if (length <= limit) return length;
    if (limit > 0 && (s[limit - 1] & 0xFC00) == 0xD800 && (s[limit] & 0xFC00) == 0xDC00) return limit - 1;
    return limit;
}

WideText widenAscii(const char *s) {
    WideText out;
    for (size_t i = 0; s && s[i]; ++i) out.push_back(TextUnit(static_cast<unsigned char>(s[i])));
    return out;
}

WideText utf8ToWide(const char *s) {
    WideText out;
    const unsigned char *p = reinterpret_cast<const unsigned char *>(s ? s : "");
    while (*p) {
        unsigned long cp = 0xFFFD;
        int extra = 0;
        if (*p < 0x80) {
            cp = *p;
        } else if ((*p & 0xE0) == 0xC0) {
            cp = *p & 0x1F;
            extra = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            cp = *p & 0x0F;
            extra = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            cp = *p & 0x07;
            extra = 3;
        }
        ++p;
        bool valid = extra > 0 || cp != 0xFFFD;
        for (int i = 0; i < extra; ++i) {
            if ((*p & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (*p & 0x3F);
            ++p;
        }
        // An overlong form ("C0 80" for NUL, "C0 AF" for '/') is invalid too:
        // letting it through would smuggle characters past any check made on
        // the bytes.
        static const unsigned long kSmallest[4] = {0, 0x80, 0x800, 0x10000};
        if (extra > 0 && cp < kSmallest[extra]) valid = false;
        if (!valid || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(TextUnit(0xD800 + (cp >> 10)));
            out.push_back(TextUnit(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(TextUnit(cp));
        }
    }
    return out;
}

std::string wideToUtf8(const TextUnit *s) {
    return wideToUtf8(s, size_t(-1));
}

std::string wideToUtf8(const TextUnit *s, size_t maxUnits) {
    size_t units = 0;
    TextUnit highest = 0;
    while (s && units < maxUnits && s[units]) highest |= s[units++];
    if (highest < 0x80) {
        // Keywords and numbers: a byte a unit, the string of the final size.
        std::string ascii(units, '\0');
        for (size_t i = 0; i < units; ++i) ascii[i] = char(s[i]);
        return ascii;
    }
    // Written through a pointer into room for the longest outcome (three
    // bytes a unit; a pair takes four for its two), then cut to what was
    // written: one allocation at most, none for a short keyword.
    std::string out(units * 3, '\0');
    char *o = &out[0];
    for (size_t i = 0; i < units; ++i) {
        unsigned long cp = static_cast<unsigned long>(s[i]) & 0xFFFF;
        if (cp < 0x80) {
            *o++ = char(cp);
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units && (s[i + 1] & 0xFC00) == 0xDC00) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + ((static_cast<unsigned long>(s[i + 1]) & 0xFFFF) - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x800) {
            *o++ = char(0xC0 | (cp >> 6));
            *o++ = char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            *o++ = char(0xE0 | (cp >> 12));
            *o++ = char(0x80 | ((cp >> 6) & 0x3F));
            *o++ = char(0x80 | (cp & 0x3F));
        } else {
            *o++ = char(0xF0 | (cp >> 18));
            *o++ = char(0x80 | ((cp >> 12) & 0x3F));
            *o++ = char(0x80 | ((cp >> 6) & 0x3F));
            *o++ = char(0x80 | (cp & 0x3F));
        }
    }
    out.resize(size_t(o - out.data()));
    // A long text kept as it came back must not hold three times its room.
    if (out.capacity() > 256 && out.capacity() > 2 * out.size()) out.shrink_to_fit();
    return out;
}

template <typename Ch>
static BasicText<Ch> fieldOf(const Ch *text, size_t n) {
    if (text == nullptr) return BasicText<Ch>();
    size_t length = 0;
    while (length < kMaxFieldScan && text[length] != 0) ++length;
    FieldCursor<Ch> cursor(text, length);
    FieldSpan span;
    for (size_t i = 0; cursor.next(span); ++i) {
        if (i == n) return BasicText<Ch>(text + span.start, span.length);
    }
    return BasicText<Ch>();
}

WideText pipeField(const TextUnit *text, size_t n) {
    return fieldOf(text, n);
}

