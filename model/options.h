// The options argument of the external functions: free text in which the
// caller writes keywords such as "noresize", "timer=10" or "defaultButton2".
// There is no grammar: a keyword is present when it occurs anywhere in the
// text (case-sensitive, also inside a longer word), and its value is the run
// of characters after the one character that follows it, up to a space.
#ifndef TESSARY_MODEL_OPTIONS_H
#define TESSARY_MODEL_OPTIONS_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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
    explicit OptionSet(const char *text) : text_(text != nullptr ? text : ""), reports_(true) {}
    // The text as an argument's narrow() gave it, taken over: a short
    // options text then costs no allocation at all.
    explicit OptionSet(std::string text) : text_(std::move(text)), reports_(true) {}
    // A copy answers the same, but only the original tells, when it goes,
    // which words of the text no keyword it was asked for matched.
    OptionSet(const OptionSet &other) : text_(other.text_) {}
    OptionSet &operator=(const OptionSet &) = delete;
    ~OptionSet();

    // Position of the first occurrence counted from 1; -1 when absent.
    // `keyword` must outlive the set (the functions ask with literals).
    long find(const char *keyword) const;
    bool has(const char *keyword) const { return find(keyword) > 0; }
    // The value after the keyword (one separator character skipped) up to a
    // space or the end, at most kMaxKeywordValue characters; empty when the
    // keyword is absent.
    std::string valueOf(const char *keyword) const;
    // The value read as a decimal integer the way atoi reads its first
    // kMaxNumericValue characters: 0 when absent or not a number.
    int numericValue(const char *keyword) const { return numericValue(keyword, 0); }
    // The same, but `absent` when the keyword is absent: one search where
    // has() and numericValue() would make two.
    int numericValue(const char *keyword, int absent) const;

    const std::string &text() const { return text_; }

    // The words of the text (apart by spaces) that no keyword asked for so
    // far occurs in, each with a keyword asked but not found that it equals
    // but for case, if any.
    struct UnusedWord {
        std::string word;
        std::string sameButCase; // empty when none
    };
    std::vector<UnusedWord> unusedWords() const;

private:
    static constexpr int kMaxKept = 48; // keywords found, and keywords missed, kept at most
    // Inline: every ask of every call goes through it.
    void noteAsked(const char *keyword, long position) const {
        if (!reports_) return;
        if (position > 0) {
            if (foundCount_ == kMaxKept) return;
            foundFrom_[foundCount_] = size_t(position) - 1;
            foundTo_[foundCount_] = size_t(position) - 1 + keywordLength(keyword);
            ++foundCount_;
        } else if (missedCount_ < kMaxKept) {
            missed_[missedCount_++] = keyword;
        }
    }
    static size_t keywordLength(const char *keyword);

    std::string text_; // up to the first NUL, as every reader stops there
    bool reports_ = false;
    // Where each keyword asked was found, and the keywords that were not.
    // Keywords are the functions' own literals, which outlive every set, so
    // a pointer is kept. Fixed room that nothing clears: asking costs a
    // store and no allocation, and only the used part is ever read.
    mutable size_t foundFrom_[kMaxKept];
    mutable size_t foundTo_[kMaxKept];
    mutable int foundCount_ = 0;
    mutable const char *missed_[kMaxKept];
    mutable int missedCount_ = 0;
};

// Decimal conversion with atoi's rules (leading blanks, a sign, digits up to
// the first non-digit, 0 when none) that saturates instead of overflowing.
int decimalValue(const char *text);

#endif
