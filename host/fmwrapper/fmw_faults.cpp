// The error record and the faults that tests inject into the library.
#include "fmw_internal.h"

#include <map>
#include <string>

namespace fmw {

namespace {

struct ArmedCall {
    uint32_t remaining; // calls still to pass, the firing one included
    int32_t code;       // code the firing call reports
};

struct Faults {
    std::map<std::string, ArmedCall> calls; // by FM_* function name
    bool refuseArmed = false;
    int16_t refuseId = 0;
    uint32_t handleCountdown = 0; // 0: no handle allocation fault armed
};

Faults& faults() {
    static Faults instance;
    return instance;
}

// The strict host's state: outside the faults, which tests reset after each
// case while strict mode stays on for the whole program.
struct Strictness {
    bool on = false;
    std::string violation; // the first read past the end since the last take
};

Strictness& strictness() {
    static Strictness instance;
    return instance;
}

}  // namespace

void setError(FMError* err, int32_t code) {
    if (err != nullptr) err->code = code;
}

int32_t enterBoundary(const char* name, FMError* err) {
    setError(err, FMErrorNone);
    auto& calls = faults().calls;
    if (calls.empty()) return 0;
    const auto it = calls.find(name);
    if (it == calls.end()) return 0;
    if (--it->second.remaining != 0) return 0;
    const int32_t code = it->second.code;
    calls.erase(it);
    return code;
}

bool takeRegistrationRefusal(int16_t functionId) {
    Faults& f = faults();
    if (!f.refuseArmed || f.refuseId != functionId) return false;
    f.refuseArmed = false;
    return true;
}

bool takeHandleAllocationFailure() {
    uint32_t& countdown = faults().handleCountdown;
    if (countdown == 0) return false;
    return --countdown == 0;
}

void noteArgumentRead(const char* function, uint32_t index, size_t size) {
    Strictness& s = strictness();
    if (!s.on || index < size || !s.violation.empty()) return;
    s.violation = std::string(function) + " read argument " + std::to_string(index) + " of a vector of " +
                  std::to_string(size);
}

}  // namespace fmw

extern "C" {

FMW_API void FMW_CDECL FMW_Test_SetStrict(int on) {
    fmw::strictness().on = on != 0;
    fmw::strictness().violation.clear();
}

FMW_API uint32_t FMW_CDECL FMW_Test_TakeViolation(char* buffer, uint32_t size) {
    std::string& violation = fmw::strictness().violation;
    const uint32_t length = uint32_t(violation.size());
    if (buffer != nullptr && size > 0) {
        const uint32_t n = length < size - 1 ? length : size - 1;
        violation.copy(buffer, n);
        buffer[n] = 0;
    }
    violation.clear();
    return length;
}

FMW_API void FMW_CDECL FMW_Test_RefuseRegistration(int16_t functionId) {
    fmw::Faults& f = fmw::faults();
    f.refuseArmed = true;
    f.refuseId = functionId;
}

FMW_API void FMW_CDECL FMW_Test_FailCall(const char* functionName, uint32_t nth, int32_t code) {
    if (functionName == nullptr) return;
    try {
        auto& calls = fmw::faults().calls;
        if (nth == 0) {
            calls.erase(functionName);
        } else {
            calls[functionName] = fmw::ArmedCall{nth, code};
        }
    } catch (...) {
        // Out of memory while arming: the fault stays unarmed, which the
        // test notices as a call that did not fail.
    }
}

FMW_API void FMW_CDECL FMW_Test_FailHandleAllocation(uint32_t nth) {
    fmw::faults().handleCountdown = nth;
}

FMW_API void FMW_CDECL FMW_Test_Reset(void) {
    fmw::Faults& f = fmw::faults();
    f.calls.clear();
    f.refuseArmed = false;
    f.handleCountdown = 0;
    fmw::strictness().violation.clear();
}

}  // extern "C"
