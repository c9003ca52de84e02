// What one call of a function costs inside the plug-in, counted by callgrind
// in instructions: the plug-in is started through its entry point against
// the statically linked host library, as the database starts it, and each
// measured call goes straight to the registered handler with arguments built
// beforehand, so neither the lookup of the function nor the building of its
// arguments is counted.
//
//   call_cost NAME [CALLS]
//
// NAME is one of getinput, setlabels, createcolor, incr. The program makes
// its warm-up calls, then CALLS measured calls (default 100) through
// measureCall, the one function that scripts/call-cost.sh has callgrind
// collect in (--collect-atstart=no --toggle-collect=measureCall). Run
// outside callgrind it only checks that every call succeeds.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "plugin_harness.h"

namespace {

typedef std::vector<std::u16string> Args;

// A registered function with its arguments and result, ready to be called
// again and again as the host would.
class PreparedCall {
public:
    PreparedCall(const std::u16string &name, const Args &args) : args_(FMW_DataVect_New()), result_(FMW_Data_New()) {
        if (!harness::findFunction(name, function_)) {
            std::fprintf(stderr, "call_cost: no function %s\n", std::string(name.begin(), name.end()).c_str());
            std::exit(2);
        }
        for (const std::u16string &a : args) {
            FMW_DataVect_PushText(args_, reinterpret_cast<const FMUniChar *>(a.c_str()), uint32_t(a.size()));
        }
    }
    ~PreparedCall() {
        FMW_Data_Delete(result_);
        FMW_DataVect_Delete(args_);
    }
    PreparedCall(const PreparedCall &) = delete;
    PreparedCall &operator=(const PreparedCall &) = delete;

    int16_t run() { return function_.handler(function_.functionId, nullptr, args_, result_); }

private:
    FMRegisteredFunction function_;
    FMDataVect *args_;
    FMData *result_;
};

// Callgrind counts only what runs inside this function.
__attribute__((noinline)) int16_t measureCall(PreparedCall &call) {
    return call.run();
}

std::u16string numbered(const char16_t *prefix, int n) {
    std::string digits = std::to_string(n);
    return prefix + std::u16string(digits.begin(), digits.end());
}

void expectOk(int16_t code, const char *what) {
    if (code != 0) {
        std::fprintf(stderr, "call_cost: %s returned %d\n", what, int(code));
        std::exit(1);
    }
}

// 24 rows staged as a form would stage them, each with a label, a kind and
// a default text, so that the lookup of the last row passes all the others.
void stageRows() {
    Args labels, kinds, texts;
    for (int row = 1; row <= 24; ++row) {
        labels.push_back(numbered(u"Label ", row));
        kinds.push_back(u"edit");
        texts.push_back(numbered(u"Default text of row ", row));
    }
    expectOk(harness::call(u"Tessary_SetLabels", labels).code, "Tessary_SetLabels");
    expectOk(harness::call(u"Tessary_SetInputTypes", kinds).code, "Tessary_SetInputTypes");
    expectOk(harness::call(u"Tessary_SetDefaultInputs", texts).code, "Tessary_SetDefaultInputs");
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: call_cost getinput|setlabels|createcolor|incr [CALLS]\n");
        return 2;
    }
    const std::string which = argv[1];
    const int calls = argc > 2 ? std::atoi(argv[2]) : 100;
    constexpr int kWarmUpCalls = 10;
    if (harness::startPlugin() != kStartupOk) {
        std::fprintf(stderr, "call_cost: the plug-in did not start\n");
        return 1;
    }
    resetAllSlots(true);
    resetDefinition();

    std::u16string name;
    Args args;
    if (which == "getinput") {
        stageRows();
        name = u"Tessary_GetInput";
        args = {u"text24"};
    } else if (which == "setlabels") {
        name = u"Tessary_SetLabels";
        for (int row = 1; row <= 24; ++row) args.push_back(numbered(u"Label of row ", row));
    } else if (which == "createcolor") {
        name = u"Tessary_CreateColor";
        args = {u"width=40 height=20", u"255128000"};
    } else if (which == "incr") {
        // The window of 10,000 steps stays up; every measured step goes the
        // whole way from the options text to the bar's counter.
        expectOk(harness::call(u"Tessary_ProgressBar", {u"show", u"Working", u"10000"}).code, "show");
        name = u"Tessary_ProgressBar";
        args = {u"incr"};
    } else {
        std::fprintf(stderr, "call_cost: unknown call %s\n", which.c_str());
        return 2;
    }

    PreparedCall call(name, args);
    for (int i = 0; i < kWarmUpCalls; ++i) expectOk(call.run(), which.c_str());
    for (int i = 0; i < calls; ++i) expectOk(measureCall(call), which.c_str());
    std::printf("%s %d\n", which.c_str(), calls);
    harness::stopPlugin();
    return 0;
}
