// Plays the database host for native tests: starts the plug-in through its
// entry point against the statically linked host library, calls registered
// functions with text arguments and reads back their results.
#ifndef TESSARY_TESTS_PLUGIN_HARNESS_H
#define TESSARY_TESTS_PLUGIN_HARNESS_H

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FMWrapper.h"
#include "model/carry_over.h"
#include "model/dialog_definition.h"
#include "plugin/entry.h"

namespace harness {

struct Result {
    int16_t code = 0;
    bool isText = false;
    std::u16string text;
};

inline FMExternCallStruct &block() {
    static FMExternCallStruct b;
    return b;
}

inline int32_t startPlugin(int16_t version = 60, uint8_t appType = FMAppDesktop) {
    FMW_Registry_Clear();
    FMExternCallStruct &b = block();
    std::memset(&b, 0, sizeof b);
    b.extnVersion = version;
    b.whichCall = FMCallStartup;
    b.appType = appType;
    FMW_Block_SetHandleEntries(&b);
    FMW_Test_SetStrict(1);
    FMExternCallProc(&b);
    return int32_t(b.result);
}

inline void stopPlugin() {
    block().whichCall = FMCallShutdown;
    FMExternCallProc(&block());
}

inline std::u16string textOf(const FMText *t) {
    FMError e{1, 0};
    uint32_t n = FM_Text_GetSize(t, &e);
    std::u16string out(n, u'\0');
    if (n > 0) FM_Text_GetUnicode(t, reinterpret_cast<FMUniChar *>(&out[0]), 0, n, &e);
    return out;
}

inline bool findFunction(const std::u16string &name, FMRegisteredFunction &out) {
    for (uint32_t i = 0; i < FMW_Registry_Count(); ++i) {
        if (FMW_Registry_At(i, &out) && textOf(out.name) == name) return true;
    }
    return false;
}

// Calls a registered function the way the host does; the caller keeps to
// its argument counts.
inline Result call(const std::u16string &name, const std::vector<std::u16string> &args) {
    Result r;
    FMRegisteredFunction f;
    if (!findFunction(name, f)) {
        r.code = -1;
        return r;
    }
    FMDataVect *v = FMW_DataVect_New();
    for (const std::u16string &a : args) {
        FMW_DataVect_PushText(v, reinterpret_cast<const FMUniChar *>(a.c_str()), uint32_t(a.size()));
    }
    FMData *d = FMW_Data_New();
    r.code = f.handler(f.functionId, nullptr, v, d);
    // The real host promises nothing past the arguments it passed.
    char violation[256];
    if (FMW_Test_TakeViolation(violation, sizeof violation) != 0) {
        ADD_FAILURE() << std::string(name.begin(), name.end()) << " with " << args.size()
                      << " argument(s): " << violation;
    }
    r.isText = FMW_Data_IsText(d) != 0;
    if (r.isText) r.text = textOf(FMW_Data_Text(d));
    FMW_Data_Delete(d);
    FMW_DataVect_Delete(v);
    return r;
}

inline std::string registryLog() {
    char buffer[4096];
    FMW_Registry_Log(buffer, sizeof buffer);
    return buffer;
}

// A started plug-in over an empty control table; faults and the table are
// cleared again afterwards, so tests cannot leak state into each other.
class FreshPlugin : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(startPlugin(), kStartupOk);
        resetAllSlots(true);
        resetDefinition();
    }
    void TearDown() override {
        resetAllSlots(true);
        resetDefinition();
        FMW_Test_Reset();
    }
};

} // namespace harness

#endif
