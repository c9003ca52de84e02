#include "bridge/host_values.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

// A fresh error record for one host call.
struct Call {
    FMError error{1, 0};
    void check() const { checkHostError(error); }
};

const FMUniChar *toHost(const TextUnit *s) {
    return reinterpret_cast<const FMUniChar *>(s);
}

} // namespace

void checkHostError(const FMError &error) {
    if (error.code == FMErrorOutOfMemory) throw std::bad_alloc();
    if (error.code == FMErrorGeneral) throw HostFailure();
}

HostText::HostText() : text_(nullptr) {
    Call c;
    text_ = FM_Text_Constructor1(&c.error);
    c.check();
    if (text_ == nullptr) throw std::bad_alloc();
}

HostText::~HostText() {
    if (text_ != nullptr) {
        FMError error{1, 0};
        FM_Text_Delete(text_, &error); // nothing to do about a failed release
    }
}

HostText &HostText::operator=(HostText &&other) noexcept {
    if (this != &other) {
        if (text_ != nullptr) {
            FMError error{1, 0};
            FM_Text_Delete(text_, &error);
        }
        text_ = other.text_;
        other.text_ = nullptr;
    }
    return *this;
}

uint32_t HostText::size() const {
    Call c;
    uint32_t n = FM_Text_GetSize(text_, &c.error);
    c.check();
    return n;
}

void HostText::assign(const char *s, int32_t encoding) {
    Call c;
    FM_Text_Assign(text_, s, encoding, &c.error);
    c.check();
}

void HostText::assignUnicode(const TextUnit *s) {
    Call c;
    FM_Text_AssignUnicode(text_, toHost(s), &c.error);
    c.check();
}

void HostText::append(const FMText *other, uint32_t position, uint32_t count) {
    Call c;
    FM_Text_AppendText(text_, other, position, count, &c.error);
    c.check();
}

bool HostText::equals(const FMText *other) const {
    Call c;
    uint8_t same = FM_Text_operatorEQ(text_, other, &c.error);
    c.check();
    return same != 0;
}

uint32_t HostText::find(const FMText *other, uint32_t start) const {
    Call c;
    uint32_t position = FM_Text_Find(text_, other, start, &c.error);
    c.check();
    return position;
}

void HostText::deleteText(uint32_t position, uint32_t count) {
    Call c;
    FM_Text_DeleteText(text_, position, count, &c.error);
    c.check();
}

HostQuadChar::HostQuadChar(char c0, char c1, char c2, char c3) : quad_(nullptr) {
    Call c;
    quad_ = FM_QuadChar_Constructor2(c0, c1, c2, c3, &c.error);
    c.check();
    if (quad_ == nullptr) throw std::bad_alloc();
}

HostQuadChar::~HostQuadChar() {
    FMError error{1, 0};
    FM_QuadChar_Delete(quad_, &error);
}

HostBinaryData::HostBinaryData() : data_(nullptr) {
    Call c;
    data_ = FM_BinaryData_Constructor1(&c.error);
    c.check();
    if (data_ == nullptr) throw std::bad_alloc();
}

HostBinaryData::~HostBinaryData() {
    FMError error{1, 0};
    FM_BinaryData_Delete(data_, &error);
}

int16_t HostBinaryData::add(const HostQuadChar &type, uint32_t size, const void *bytes) {
    Call c;
    int16_t code = FM_BinaryData_Add(data_, type.get(), size, bytes, &c.error);
    c.check();
    return code;
}

uint32_t argumentCount(const FMDataVect *args) {
    Call c;
    uint32_t n = FM_DataVect_Size(args, &c.error);
    c.check();
    return n;
}

static const FMText *argumentText(const FMDataVect *args, uint32_t index) {
    Call c;
    const FMText *text = FM_DataVect_AtAsText(args, index, &c.error);
    c.check();
    return text;
}

WideText argumentWide(const FMDataVect *args, uint32_t index) {
    const FMText *text = argumentText(args, index);
    if (text == nullptr) return WideText();
    Call sizeCall;
    uint32_t size = FM_Text_GetSize(text, &sizeCall.error);
    sizeCall.check();
    if (size == 0) return WideText();
    // The terminator's unit must not wrap the count on a 32-bit build.
    if (size_t(size) >= std::vector<TextUnit>().max_size()) throw std::bad_alloc();
    // Read straight into the text: an argument is copied once.
    WideText out{size_t(size)};
    Call read;
    FM_Text_GetUnicode(text, reinterpret_cast<FMUniChar *>(out.data()), 0, size, &read.error);
    read.check();
    return out;
}

int16_t setResultHostText(FMData *result, const FMDataVect *args, const HostText &text) {
    // The first argument's locale; a call without arguments has only the
    // result object's own.
    const FMData *first = result;
    if (args != nullptr) {
        Call at;
        first = FM_DataVect_At(args, 0, &at.error);
        at.check();
    }
    const FMLocale *locale = nullptr;
    if (first != nullptr) {
        Call loc;
        locale = FM_Data_GetLocale(first, &loc.error);
        loc.check();
    }
    Call set;
    int16_t code = FM_Data_SetAsText(result, text.get(), locale, FMDataTypeText, &set.error);
    set.check();
    return code;
}

int16_t setResultText(FMData *result, const FMDataVect *args, const WideText &text) {
    HostText host;
    const TextUnit *units = text.data();
    const TextUnit *end = units + text.length();
    const TextUnit *nul = std::find(units, end, TextUnit(0));
    if (nul == end) {
        // A new host text is already the empty text.
        if (units != end) host.assignUnicode(units);
        return setResultHostText(result, args, host);
    }
    // The host takes a text up to its first NUL, so a NUL in a list cell
    // would end the whole result there. The text goes over piece by piece
    // between its NULs instead; only the NULs themselves are left out.
    for (const TextUnit *piece = units; piece < end;) {
        const TextUnit *stop = std::find(piece, end, TextUnit(0));
        if (stop > piece) {
            const WideText part(piece, size_t(stop - piece));
            HostText partText;
            partText.assignUnicode(part.data());
            host.append(partText.get(), 0, partText.size());
        }
        piece = stop + 1;
    }
    return setResultHostText(result, args, host);
}

int16_t setResultNarrow(FMData *result, const FMDataVect *args, const char *text) {
    HostText host;
    host.assign(text, FMEncodingAnsi);
    return setResultHostText(result, args, host);
}

int16_t setResultEmpty(FMData *result, const FMDataVect *args) {
    return setResultNarrow(result, args, "");
}

void setResultBinary(FMData *result, const HostBinaryData &binary) {
    Call c;
    FM_Data_SetBinaryData(result, binary.get(), 1, &c.error);
    c.check();
}
