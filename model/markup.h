// The markup of the custom dialog: a flat run of elements written like tags,
// <name>value</name>, read by a few fixed rules. It is deliberately not XML:
// nothing is decoded, names are compared exactly (letter case included),
// nesting means nothing and a value ends at the first '<' in it.
//
// One element is read from a '<' as follows. Its name is everything up to
// the next '>' (or the end of the text), blanks and '/' included, so a single
// tag "<a/>" is named "a/". Its value is the text after the '>' up to the
// next '<' (or the end). When that '<' starts a closing tag ("</"), the value
// stands and the closing tag is passed over whatever its name; otherwise the
// value is empty and the next element starts at that '<'.
//
// The element "object" starts the next object: the elements after it are the
// object's attributes until one named exactly "/object" has been read.
#ifndef TESSARY_MODEL_MARKUP_H
#define TESSARY_MODEL_MARKUP_H

#include <cstddef>
#include <cstdint>

#include "model/text.h"

// One element as it lies in the markup; the markup must outlive it.
struct MarkupElement {
    int object;             // 0: a window element; n >= 1: an attribute of the n-th object
    const TextUnit *name;   // the units between '<' and '>'
    size_t nameLength;
    const TextUnit *value;  // the units after '>' up to the next '<'
    size_t valueLength;

    // The name equals the ASCII text exactly.
    bool nameIs(const char *ascii) const;
    // The value equals the ASCII text exactly.
    bool valueIs(const char *ascii) const;
    WideText valueText() const;
};

// Reads the elements of a markup text left to right. Every step moves
// forward, so any text, however malformed, is read to its end in time
// proportional to its length, and no unit past `length` is looked at.
class MarkupScanner {
public:
    MarkupScanner(const TextUnit *text, size_t length);

    // The next window element or object attribute; false at the end of the
    // text. The "object" and "/object" elements themselves are not handed
    // out.
    bool next(MarkupElement &element);
    // Objects started so far.
    int objectCount() const { return objectCount_; }

private:
    size_t find(TextUnit unit, size_t from) const;
    bool readElement(MarkupElement &element);

    const TextUnit *text_;
    size_t length_;
    size_t position_; // where the search for the next '<' starts
    int objectCount_;
    bool inObject_;   // between an "object" element and its "/object"
};

// Longest run of digits a number is read from; more digits saturate anyway.
constexpr size_t kMaxMarkupDigits = 63;

// A number of the markup: the value of its leading decimal digits, 0 when it
// starts with anything else (a sign, a blank, a letter); a value beyond the
// 32-bit range is the largest one.
int32_t markupNumber(const MarkupElement &element);
// A flag of the markup: set only by the value "true", exactly.
bool markupFlag(const MarkupElement &element);

#endif
