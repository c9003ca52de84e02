#include "model/call.h"

#include <cstring>

namespace {
const WideText kNotPassed;
// One call runs at a time, on the host's thread; a call inside another
// finds no room here and makes its own.
std::vector<WideText> gSpareRoom;
} // namespace

CallArguments::~CallArguments() {
    texts_.clear();
    if (texts_.capacity() > gSpareRoom.capacity()) gSpareRoom.swap(texts_);
}

std::vector<WideText> CallArguments::spareRoom() {
    std::vector<WideText> room;
    room.swap(gSpareRoom);
    return room;
}

const WideText &CallArguments::wide(uint32_t index) const {
    noteRead(index);
    return index < texts_.size() ? texts_[index] : kNotPassed;
}

std::string CallArguments::narrow(uint32_t index, uint32_t bufferBytes) const {
    if (bufferBytes == 0) return std::string();
    const WideText &text = wide(index);
    const size_t room = bufferBytes - 1;
    // Every unit takes at least one byte, so no more units than bytes matter
    // (and one more, which may complete a pair).
    const size_t units = text.length() < room + 1 ? text.length() : room + 1;
    std::string utf8 = wideToUtf8(text.data(), units);
    if (utf8.size() <= room) return utf8;
    size_t cut = room;
    // Back to the start of the character that does not fit whole.
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
    utf8.resize(cut);
    return utf8;
}

WideText CallArguments::take(uint32_t index) const {
    noteRead(index);
    return index < texts_.size() ? std::move(texts_[index]) : WideText();
}

void CallResult::addStream(const char type[4], std::vector<uint8_t> bytes, bool image) {
    // A container result has a few streams (a swatch three): room for them
    // at once rather than the vector growing by each.
    if (streams_.empty()) streams_.reserve(3);
    Stream stream;
    stream.image = image;
    std::memcpy(stream.type, type, sizeof stream.type);
    stream.bytes = std::move(bytes);
    streams_.push_back(std::move(stream));
}

WideText CallResult::widenAscii(const char *ascii) {
    WideText out;
    for (const char *p = ascii; p != nullptr && *p != 0; ++p) out.push_back(TextUnit(static_cast<unsigned char>(*p)));
    return out;
}
