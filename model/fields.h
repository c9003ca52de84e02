// The one '|' splitter of the model. Texts of this system carry lists as
// fields separated by '|': list items and cells, column titles and widths,
// the captions of a radio group, the two values of a range. Every reader of
// such a text goes through FieldCursor, which walks the fields once from the
// start; FieldList keeps the spans of one pass so that field n is found
// without scanning the text again.
#ifndef TESSARY_MODEL_FIELDS_H
#define TESSARY_MODEL_FIELDS_H

#include <cstddef>
#include <vector>

#include "model/text.h"

// Where one field lies in its text.
struct FieldSpan {
    size_t start;  // index of the field's first unit
    size_t length; // units, the separator not included
};

// Walks the fields of the first `length` units of a text, left to right.
// A text of n separators has n + 1 fields, so an empty text has one empty
// field and a text ending in '|' has an empty last field.
template <typename Ch>
class FieldCursor {
public:
    FieldCursor(const Ch *text, size_t length) : text_(text), length_(text ? length : 0), next_(0), done_(false) {}

    // The next field; false once the last field has been handed out.
    bool next(FieldSpan &span) {
        if (done_) return false;
        size_t end = next_;
        while (end < length_ && text_[end] != Ch('|')) ++end;
        span = FieldSpan{next_, end - next_};
        done_ = end >= length_;
        next_ = end + 1;
        return true;
    }

private:
    const Ch *text_;
    size_t length_;
    size_t next_; // start of the field next() hands out
    bool done_;
};

// The fields of one pass over a text, numbered from 0. The text must outlive
// the list. A number past the last field reads as the empty field.
template <typename Ch>
class FieldList {
public:
    FieldList(const Ch *text, size_t length) : text_(text) {
        FieldCursor<Ch> cursor(text, length);
        FieldSpan span;
        while (cursor.next(span)) spans_.push_back(span);
    }
    explicit FieldList(const BasicText<Ch> &text) : FieldList(text.data(), text.length()) {}

    // Fields as pipeField numbers them: separators + 1.
    size_t size() const { return spans_.size(); }
    // Items of a list whose closing '|' is optional: the fields without an
    // empty last one, so "a|b|" and "a|b" hold two items and "" none.
    size_t itemCount() const { return spans_.back().length == 0 ? spans_.size() - 1 : spans_.size(); }

    const Ch *data(size_t n) const { return n < spans_.size() ? text_ + spans_[n].start : &kNothing; }
    size_t length(size_t n) const { return n < spans_.size() ? spans_[n].length : 0; }
    BasicText<Ch> text(size_t n) const { return BasicText<Ch>(data(n), length(n)); }
    bool same(size_t n, const Ch *other, size_t otherLength) const {
        if (length(n) != otherLength) return false;
        const Ch *mine = data(n);
        for (size_t i = 0; i < otherLength; ++i) {
            if (mine[i] != other[i]) return false;
        }
        return true;
    }

private:
    static constexpr Ch kNothing = Ch(0);
    const Ch *text_;
    std::vector<FieldSpan> spans_; // never empty: every text has field 0
};

typedef FieldList<TextUnit> WideFields;
typedef FieldList<char> NarrowFields;

#endif
