#include "model/options.h"

#include <climits>
#include <cstring>

#include "model/numbers.h"
#include "model/warnings.h"

long OptionSet::find(const char *keyword) const {
    if (keyword == nullptr || *keyword == 0) return -1;
    // An empty text holds no keyword, and has no word to tell of.
    if (text_.empty()) return -1;
    const char *hit = std::strstr(text_.data(), keyword);
    const long position = hit ? long(hit - text_.data()) + 1 : -1;
    noteAsked(keyword, position);
    return position;
}

size_t OptionSet::keywordLength(const char *keyword) {
    return std::strlen(keyword);
}

namespace {

// `word` is `keyword` but for the case of its letters, alone or followed by
// its value or number.
bool sameButCase(const char *word, size_t wordLength, const char *keyword) {
    const size_t n = std::strlen(keyword);
    if (wordLength < n) return false;
    for (size_t i = 0; i < n; ++i) {
        const char a = word[i], b = keyword[i];
        if (a == b) continue;
        if ((a | 0x20) != (b | 0x20) || (a | 0x20) < 'a' || (a | 0x20) > 'z') return false;
    }
    return wordLength == n || word[n] == '=' || (word[n] >= '0' && word[n] <= '9');
}

} // namespace

std::vector<OptionSet::UnusedWord> OptionSet::unusedWords() const {
    std::vector<UnusedWord> unused;
    const char *text = text_.data();
    const size_t size = text_.length();
    size_t start = 0;
    while (start < size) {
        if (text[start] == ' ') {
            ++start;
            continue;
        }
        size_t end = start;
        while (end < size && text[end] != ' ') ++end;
        bool used = false;
        for (int k = 0; k < foundCount_ && !used; ++k) used = foundFrom_[k] < end && foundTo_[k] > start;
        if (!used) {
            UnusedWord u{std::string(text + start, end - start), std::string()};
            for (int k = 0; k < missedCount_ && u.sameButCase.empty(); ++k) {
                if (sameButCase(text + start, end - start, missed_[k])) u.sameButCase = missed_[k];
            }
            unused.push_back(std::move(u));
        }
        start = end;
    }
    return unused;
}

OptionSet::~OptionSet() {
    if (!reports_ || text_.empty()) return;
    // Mostly a keyword found at the start covers the one word there is.
    if (foundCount_ > 0 && foundFrom_[0] == 0 && foundTo_[0] >= text_.length()) return;
    try {
        for (const UnusedWord &u : unusedWords()) {
            std::string line = "option " + quoted(u.word) + " is none of its keywords";
            if (!u.sameButCase.empty()) line += "; keywords are case-sensitive: " + quoted(u.sameButCase);
            warn(line);
        }
    } catch (...) {
        // A warning is never worth a failed call.
    }
}

std::string OptionSet::valueOf(const char *keyword) const {
    long position = find(keyword);
    if (position < 1) return std::string();
    // position counts from 1, so this skips exactly one character after the
    // keyword, whatever it is ("=", ":" or anything else).
    size_t p = size_t(position) + std::strlen(keyword);
    std::string value;
    while (p < text_.length() && text_[p] != ' ' && value.size() < kMaxKeywordValue) {
        value += text_[p];
        ++p;
    }
    return value;
}

int OptionSet::numericValue(const char *keyword, int absent) const {
    // valueOf's run, cut to kMaxNumericValue, read where it stands rather
    // than copied out twice.
    const long position = find(keyword);
    if (position < 1) return absent;
    const size_t start = size_t(position) + std::strlen(keyword);
    if (start >= text_.length()) return decimalValue("");
    const size_t most = kMaxNumericValue < kMaxKeywordValue ? kMaxNumericValue : kMaxKeywordValue;
    size_t end = start;
    while (end < text_.length() && text_[end] != ' ' && end - start < most) ++end;
    return leadingInteger(text_.data() + start, end - start);
}

int decimalValue(const char *text) {
    if (text == nullptr) return 0;
    return leadingInteger(text, std::strlen(text));
}
