// One call of an external function as the functions see it: the arguments
// the host passed, read once at the boundary, and the result the function
// gives back. Nothing here reaches the host: the bridge fills the arguments
// before a function runs and hands its result over afterwards, so no
// function can read an argument the host did not pass.
#ifndef TESSARY_MODEL_CALL_H
#define TESSARY_MODEL_CALL_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/text.h"

class CallArguments {
public:
    CallArguments() = default;
    explicit CallArguments(std::vector<WideText> texts) : texts_(std::move(texts)) {}
    CallArguments(const CallArguments &) = default;
    CallArguments(CallArguments &&) = default;
    CallArguments &operator=(const CallArguments &) = default;
    CallArguments &operator=(CallArguments &&) = default;
    // The texts go, overwritten as every text is; the room that held them
    // is kept for the next call's arguments (spareRoom).
    ~CallArguments();

    // An empty vector with the room of an earlier call's arguments, if
    // any: a call then allocates only its texts.
    static std::vector<WideText> spareRoom();

    // How many arguments the host passed.
    uint32_t count() const { return uint32_t(texts_.size()); }
    // Argument `index` in UTF-16, whole; the empty text for one not passed.
    const WideText &wide(uint32_t index) const;
    // Argument `index` in UTF-8, as a buffer of `bufferBytes` takes it: up
    // to its first NUL and at most bufferBytes - 1 bytes, never half a
    // character. The empty text for one not passed.
    std::string narrow(uint32_t index, uint32_t bufferBytes) const;
    // Argument `index` handed over whole, for a function that keeps it (a
    // staged label): the text moves instead of being copied, and the
    // argument reads as empty from then on. Counts as read.
    WideText take(uint32_t index) const;
    // One past the highest argument the function asked for so far.
    uint32_t readCount() const { return readCount_; }

private:
    void noteRead(uint32_t index) const {
        if (index >= readCount_) readCount_ = index + 1;
    }
    // Mutable for take() alone: a taken text is one the function has
    // already read, and nothing reads it again.
    mutable std::vector<WideText> texts_;
    mutable uint32_t readCount_ = 0;
};

// What a function answers: a text (empty unless set), or container data
// made of typed streams.
class CallResult {
public:
    struct Stream {
        char type[4];
        std::vector<uint8_t> bytes;
        bool image; // a 32-bit host takes an image from memory of its own
    };

    void setText(const WideText &text) {
        lasting_ = nullptr;
        text_ = text;
    }
    // A text that stays as it is until the boundary has handed the result
    // over (one of the record's), answered without a copy of its own.
    void setLastingText(const WideText &text) {
        text_.clear();
        lasting_ = &text;
    }
    // An ASCII text.
    void setText(const char *ascii) {
        lasting_ = nullptr;
        text_ = WideText(widenAscii(ascii));
    }
    void setEmpty() {
        lasting_ = nullptr;
        text_.clear();
    }
    void addStream(const char type[4], std::vector<uint8_t> bytes, bool image);

    const WideText &text() const { return lasting_ != nullptr ? *lasting_ : text_; }
    bool isContainer() const { return !streams_.empty(); }
    const std::vector<Stream> &streams() const { return streams_; }

private:
    static WideText widenAscii(const char *ascii);
    WideText text_;
    const WideText *lasting_ = nullptr;
    std::vector<Stream> streams_;
};

#endif
