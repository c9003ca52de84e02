#include "utf.h"

namespace hostutf {

namespace {

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of a sequence announced by its lead byte and the smallest value
// it may encode (anything below is an overlong form); 0 for an invalid lead.
std::size_t sequenceLength(unsigned char lead, char32_t* minimum) {
    if (lead < 0x80) { *minimum = 0; return 1; }
    if ((lead & 0xE0) == 0xC0) { *minimum = 0x80; return 2; }
    if ((lead & 0xF0) == 0xE0) { *minimum = 0x800; return 3; }
    if ((lead & 0xF8) == 0xF0) { *minimum = 0x10000; return 4; }
    return 0;
}

}  // namespace

std::u32string decodeUtf8(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        char32_t minimum = 0;
        const std::size_t length = sequenceLength(lead, &minimum);
        if (length == 1) {
            out.push_back(lead);
            ++i;
            continue;
        }
        bool valid = length != 0 && i + length <= bytes.size();
        char32_t cp = 0;
        if (valid) {
            cp = lead & (0x7F >> length);
            for (std::size_t k = 1; k < length; ++k) {
                const auto b = static_cast<unsigned char>(bytes[i + k]);
                if (!isContinuation(b)) { valid = false; break; }
                cp = (cp << 6) | (b & 0x3F);
            }
        }
        if (valid && (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) valid = false;
        if (valid) {
            out.push_back(cp);
            i += length;
        } else {
            out.push_back(kReplacement);
            ++i;
        }
    }
    return out;
}

std::u32string decodeUtf16(std::u16string_view units) {
    std::u32string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            out.push_back(0x10000 + ((char32_t(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            out.push_back(kReplacement);
        } else {
            out.push_back(u);
        }
    }
    return out;
}

std::size_t encodeUtf8(char32_t cp, char out[4]) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

void appendUtf8(std::string& out, char32_t cp) {
    char bytes[4];
    out.append(bytes, encodeUtf8(cp, bytes));
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

std::string toUtf8(std::u32string_view cps) {
    std::string out;
    out.reserve(cps.size());
    for (char32_t cp : cps) appendUtf8(out, cp);
    return out;
}

std::string toUtf8(std::u16string_view units) { return toUtf8(decodeUtf16(units)); }

std::u16string toUtf16(std::u32string_view cps) {
    std::u16string out;
    out.reserve(cps.size());
    for (char32_t cp : cps) appendUtf16(out, cp);
    return out;
}

std::u16string toUtf16(std::string_view utf8) { return toUtf16(decodeUtf8(utf8)); }

}  // namespace hostutf
