// The options argument of the external functions: free text in which the
// caller writes keywords such as "noresize", "timer=10" or "defaultButton2".
// There is no grammar: a keyword is present when it occurs anywhere in the
// text (case-sensitive, also inside a longer word), and its value is the run
// of characters after the one character that follows it, up to a space.
#ifndef TESSARY_MODEL_OPTIONS_H
#define TESSARY_MODEL_OPTIONS_H

#include <cstdint>
#include <string>

#include "model/text.h"

// Longest keyword value handed out; a longer one is cut to this.
constexpr size_t kMaxKeywordValue = 35;
// Longest value a numeric keyword reads; further characters are ignored.
constexpr size_t kMaxNumericValue = 9;

// How many bytes of its options argument a function reads, the terminator
// included; what lies past them is not seen.
constexpr uint32_t kShortOptionsBytes = 128;   // Tessary_Dialog, Tessary_CreateColor
constexpr uint32_t kSettingOptionsBytes = 256; // Tessary_ProgressBar, Tessary_SetFont, Tessary_System
constexpr uint32_t kMediumOptionsBytes = 1024; // Tessary_Login, the file dialogs
constexpr uint32_t kLongOptionsBytes = 10242;  // the form, tab, list, dual list and big edit dialogs

class OptionSet {
public:
    OptionSet() = default;
    explicit OptionSet(const char *text) : text_(text) {}

    // Position of the first occurrence counted from 1; -1 when absent.
    long find(const char *keyword) const;
    bool has(const char *keyword) const { return find(keyword) > 0; }
    // The value after the keyword (one separator character skipped) up to a
    // space or the end, at most kMaxKeywordValue characters; empty when the
    // keyword is absent.
    std::string valueOf(const char *keyword) const;
    // The value read as a decimal integer the way atoi reads its first
    // kMaxNumericValue characters: 0 when absent or not a number.
    int numericValue(const char *keyword) const;

    const NarrowText &text() const { return text_; }

private:
    NarrowText text_;
};

// Decimal conversion with atoi's rules (leading blanks, a sign, digits up to
// the first non-digit, 0 when none) that saturates instead of overflowing.
int decimalValue(const char *text);

#endif
