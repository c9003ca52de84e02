// Owned texts of the dialog model and the routines that work on them.
//
// NarrowText holds 8-bit text (option keywords, control kinds, font names,
// UTF-8 as the host converts it); WideText holds UTF-16 code units, the
// platform's WCHAR on Windows and char16_t in the native build. Both always
// keep a terminating zero behind their characters, so data() can go straight
// to a C or Windows API.
#ifndef TESSARY_MODEL_TEXT_H
#define TESSARY_MODEL_TEXT_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
typedef wchar_t TextUnit;
#define TEXT16(s) L##s
#else
typedef char16_t TextUnit;
#define TEXT16(s) u##s
#endif

static_assert(sizeof(TextUnit) == 2, "text units are UTF-16 code units");

// ---- Released buffers --------------------------------------------------
// A text buffer is overwritten with zeros before its memory goes back to the
// heap, so what a user typed (a password above all) does not linger in freed
// memory, where a crash dump or the memory's next owner could read it.

// Overwrites the block (in a way the compiler may not drop as a dead store)
// and hands it to the release watcher; the caller frees it afterwards.
void overwriteReleased(void *block, size_t bytes);

// Test seam: sees every block that overwriteReleased handled, before it is
// freed. Null, the default, watches nothing.
typedef void (*ReleaseWatcher)(const void *block, size_t bytes);
void setReleaseWatcher(ReleaseWatcher watcher);

// The allocator of every text buffer, and of temporary buffers that hold a
// user's text (the read-back of a password field).
template <typename T>
struct WipingAllocator {
    typedef T value_type;
    WipingAllocator() = default;
    template <typename U>
    WipingAllocator(const WipingAllocator<U> &) {}
    T *allocate(size_t n) { return std::allocator<T>().allocate(n); }
    void deallocate(T *p, size_t n) {
        overwriteReleased(p, n * sizeof(T));
        std::allocator<T>().deallocate(p, n);
    }
    template <typename U>
    bool operator==(const WipingAllocator<U> &) const { return true; }
    template <typename U>
    bool operator!=(const WipingAllocator<U> &) const { return false; }
};

template <typename T>
using WipedBuffer = std::vector<T, WipingAllocator<T>>;

template <typename Ch>
class BasicText {
public:
    // The empty text holds no buffer at all: a record of 120 slots of a
    // dozen texts each is mostly empty texts, and making, copying or
    // clearing them must not cost an allocation each.
    BasicText() = default;
    // Copies up to the terminator; a null pointer gives the empty text.
    BasicText(const Ch *s) : BasicText(s, s ? lengthOf(s) : 0) {}
    // One buffer of the final size, filled in place.
    BasicText(const Ch *s, size_t length) {
        if (length == 0) return;
        buffer_.assign(length + 1, Ch(0));
        for (size_t i = 0; i < length; ++i) buffer_[i] = s[i];
    }
    // `length` zeros, to be written in place through data().
    explicit BasicText(size_t length) {
        if (length > 0) buffer_.assign(length + 1, Ch(0));
    }
    BasicText(const BasicText &) = default;
    BasicText(BasicText &&) = default;
    BasicText &operator=(BasicText &&) = default;
    // Always into a new buffer, so the old one is released and overwritten
    // rather than kept with the tail of its old text behind the new one.
    BasicText &operator=(const BasicText &other) {
        if (this != &other) assign(other.data(), other.length());
        return *this;
    }

    // Lengths are counted in 32 bits, so a text past 65,535 units keeps every
    // character instead of wrapping a 16-bit count.
    size_t length() const { return buffer_.empty() ? 0 : buffer_.size() - 1; }
    bool empty() const { return buffer_.size() <= 1; }
    // Without a buffer the empty text reads as a shared terminator.
    const Ch *data() const { return buffer_.empty() ? terminator() : buffer_.data(); }
    // A writer gets a buffer of its own even for the empty text.
    Ch *data() {
        if (buffer_.empty()) buffer_.assign(1, Ch(0));
        return buffer_.data();
    }

    Ch operator[](size_t i) const { return data()[i]; }
    // An index past the end reads the last character; the index equal to the
    // length reads the terminator.
    Ch at(size_t i) const {
        if (i > length()) return empty() ? Ch(0) : data()[length() - 1];
        return data()[i];
    }

    void assign(const Ch *s, size_t length) {
        if (length == 0) {
            clear();
            return;
        }
        if (!buffer_.empty() && s == buffer_.data()) return;
        WipedBuffer<Ch> fresh(length + 1, Ch(0));
        for (size_t i = 0; i < length; ++i) fresh[i] = s[i];
        buffer_.swap(fresh);
    }
    // Releases the buffer (overwritten); the empty text needs none.
    void clear() {
        // A vector without storage has no data pointer; testing it alone is
        // the cheapest check, and slots are mostly empty texts.
        if (buffer_.data() == nullptr) return;
        WipedBuffer<Ch> none;
        buffer_.swap(none);
    }
    void append(const Ch *s, size_t length) {
        if (length == 0) return;
        if (buffer_.empty()) buffer_.push_back(Ch(0));
        buffer_.pop_back();
        buffer_.insert(buffer_.end(), s, s + length);
        buffer_.push_back(Ch(0));
    }
    void append(const BasicText &other) { append(other.data(), other.length()); }
    // Room for `length` characters, so that pushing them one by one does
    // not move the text again and again.
    void reserve(size_t length) { buffer_.reserve(length + 1); }
    void push_back(Ch c) {
        if (buffer_.empty()) {
            buffer_.push_back(c);
        } else {
            buffer_.back() = c;
        }
        buffer_.push_back(Ch(0));
    }

    bool operator==(const BasicText &other) const {
        const size_t n = length();
        if (n != other.length()) return false;
        const Ch *a = data();
        const Ch *b = other.data();
        for (size_t i = 0; i < n; ++i) {
            if (a[i] != b[i]) return false;
        }
        return true;
    }
    bool operator!=(const BasicText &other) const { return !(*this == other); }

    static size_t lengthOf(const Ch *s) {
        size_t n = 0;
        while (s[n]) ++n;
        return n;
    }

private:
    static const Ch *terminator() {
        static const Ch zero = Ch(0);
        return &zero;
    }

    WipedBuffer<Ch> buffer_; // characters and one terminating zero; none for the empty text
};

typedef BasicText<char> NarrowText;
typedef BasicText<TextUnit> WideText;

// NarrowText equality with a C string: byte-wise and case-sensitive.
bool equals(const NarrowText &text, const char *s);

// ---- Wide-text routines ------------------------------------------------
// The copying routines take the capacity of the destination in units,
// terminator included, and never write past it; they return the number of
// units written without the terminator.

size_t wideLength(const TextUnit *s);
size_t wideCopy(TextUnit *dest, size_t capacity, const TextUnit *src);
size_t wideCopyNarrow(TextUnit *dest, size_t capacity, const char *src);
// Unit-by-unit difference; 0 when equal. Case-sensitive.
int wideCompare(const TextUnit *a, const TextUnit *b);
// Compares with an ASCII keyword of at most 1023 characters; 0 when equal.
int wideCompareNarrow(const TextUnit *a, const char *keyword);
size_t wideCount(const TextUnit *s, TextUnit unit);
void wideReverse(TextUnit *s);
// Writes value in radix 2..36 with lower-case digits and a leading '-' for
// negatives; an invalid radix gives the empty text.
WideText integerToText(long long value, int radix = 10);
WideText widenAscii(const char *s);
// UTF-8 (as the host converts to 8-bit text) to UTF-16; invalid bytes
// become U+FFFD.
WideText utf8ToWide(const char *s);
std::string wideToUtf8(const TextUnit *s);
// The same of at most the first `maxUnits` units: a pair cut by the limit
// converts as the lone half it then is.
std::string wideToUtf8(const TextUnit *s, size_t maxUnits);

// How many of the first `length` units of a text to keep when at most
// `limit` may be kept: min(length, limit), one less when that would cut a
// surrogate pair in two and leave half a character at the end.
size_t wholeCharacterCut(const TextUnit *s, size_t length, size_t limit);

// ---- Field extraction --------------------------------------------------
// Field n (from 0) of a '|'-separated text: the characters after the n-th
// '|' up to the next '|' or the end; empty when the text has fewer than n
// separators. Only the first kMaxFieldScan characters are looked at.
constexpr size_t kMaxFieldScan = 100240;
WideText pipeField(const TextUnit *text, size_t n);

#endif
