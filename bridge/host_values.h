// Thin owners of the host's objects, and the conventions every external
// function uses to read its arguments and write its result.
//
// Every operation makes exactly one host call with a fresh error record and
// then checks it: code 1 throws std::bad_alloc, code 2 throws HostFailure.
// Those exceptions never reach the host: the function boundary turns them
// back into the host's error code (plugin/registry.cpp).
#ifndef TESSARY_BRIDGE_HOST_VALUES_H
#define TESSARY_BRIDGE_HOST_VALUES_H

#include <cstdint>
#include <stdexcept>
#include <string>

#include "FMWrapper.h"
#include "model/text.h"

class HostFailure : public std::runtime_error {
public:
    HostFailure() : std::runtime_error("host call failed") {}
};

// Throws for the error codes 1 and 2; ignores any other value.
void checkHostError(const FMError &error);

class HostText {
public:
    HostText();
    ~HostText();
    HostText(HostText &&other) noexcept : text_(other.text_) { other.text_ = nullptr; }
    HostText &operator=(HostText &&other) noexcept;
    HostText(const HostText &) = delete;
    HostText &operator=(const HostText &) = delete;

    FMText *get() const { return text_; }

    uint32_t size() const;
    void assign(const char *s, int32_t encoding = FMEncodingAnsi);
    void assignUnicode(const TextUnit *s);
    void append(const FMText *other, uint32_t position, uint32_t count);
    bool equals(const FMText *other) const;
    uint32_t find(const FMText *other, uint32_t start) const;
    void deleteText(uint32_t position, uint32_t count);

private:
    FMText *text_;
};

class HostQuadChar {
public:
    HostQuadChar(char c0, char c1, char c2, char c3);
    explicit HostQuadChar(const char code[4]) : HostQuadChar(code[0], code[1], code[2], code[3]) {}
    ~HostQuadChar();
    HostQuadChar(const HostQuadChar &) = delete;
    HostQuadChar &operator=(const HostQuadChar &) = delete;
    const FMQuadChar *get() const { return quad_; }

private:
    FMQuadChar *quad_;
};

class HostBinaryData {
public:
    HostBinaryData();
    ~HostBinaryData();
    HostBinaryData(const HostBinaryData &) = delete;
    HostBinaryData &operator=(const HostBinaryData &) = delete;
    const FMBinaryData *get() const { return data_; }
    // Returns the host's 16-bit code.
    int16_t add(const HostQuadChar &type, uint32_t size, const void *bytes);

private:
    FMBinaryData *data_;
};

// ---- Arguments -----------------------------------------------------------

uint32_t argumentCount(const FMDataVect *args);
// Argument i as UTF-16 text; an argument that was not passed reads as empty.
WideText argumentWide(const FMDataVect *args, uint32_t index);

// ---- Results -------------------------------------------------------------
// Each writes the result as text in the locale of argument 0 (with `args`
// null, for a call without arguments, in the result object's own) and
// returns the host's code of that assignment.

int16_t setResultHostText(FMData *result, const FMDataVect *args, const HostText &text);
int16_t setResultText(FMData *result, const FMDataVect *args, const WideText &text);
int16_t setResultNarrow(FMData *result, const FMDataVect *args, const char *text);
int16_t setResultEmpty(FMData *result, const FMDataVect *args);
// Puts container data into the result (forced binary).
void setResultBinary(FMData *result, const HostBinaryData &binary);

#endif
