// The input staging, the row layout and the form fill, end to end through the
// plug-in's entry point: 24 rows of fuzzed labels, kinds and default texts
// go through Tessary_SetLabels, Tessary_SetInputTypes and
// Tessary_SetDefaultInputs, then Tessary_DoDialog or Tessary_DoTabDialog
// shows them to a player standing in for the window. Every slot index the
// record carries stays inside the control table, every size and share is a
// finite number and every text is bounded.
// Input: UTF-16 fields apart by U+0001: a control field (unit 0 picks the
// function, unit 1 the slot the player presses), the options, 24 labels,
// 24 kinds and 24 default texts. A kind field starting with a unit below 64
// names one of the known kinds (by that unit) followed by the rest as a
// suffix ("3", "RO", "31", ...); any other kind field is taken as it is.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model/carry_over.h"
#include "model/dialog_definition.h"
#include "fuzz_support.h"
#include "runtime/runner.h"

namespace {

const char16_t *const kKinds[] = {
    u"edit", u"password", u"editBox", u"hedit", u"heditR", u"heditC", u"combobox", u"checkbox",
    u"radio", u"slider", u"date", u"datedd", u"datetime", u"datetimedd", u"daterange", u"daterangedd",
    u"timerange", u"range", u"rangeC", u"rangeR", u"static"};
constexpr size_t kKindCount = sizeof kKinds / sizeof kKinds[0];
constexpr size_t kRows = 24;

bool validSlot(int32_t index, bool noneAllowed) {
    return (noneAllowed && index == -1) || (index >= 0 && index < kSlotCount);
}

// No text of the record outgrows what the input could make of it: each
// unit at most doubled (a CR gains its LF), plus the fixed texts.
size_t gLongestText = 0;

void checkRecord(const DialogDefinition &d) {
    if (d.controlCount < 0 || d.controlCount > kSlotCount) abort();
    if (!validSlot(d.defaultButton, true)) abort();
    if (!validSlot(d.resultIndex, true)) abort();
    if (d.title.length() > gLongestText) abort();
    for (int i = 0; i < kSlotCount; ++i) {
        const ControlSpec &s = d.controls[i];
        if (!validSlot(s.ownerIndex, true)) abort();
        if (s.linkIndex >= kSlotCount) abort();
        if (!std::isfinite(s.growWidth) || !std::isfinite(s.growHeight)) abort();
        if (s.width < 0 || s.height < 0) abort();
        if (s.text.length() > gLongestText || s.value.length() > gLongestText) abort();
        if (s.text.data()[s.text.length()] != 0) abort();
        for (int n = 1; n <= 3; ++n) {
            if (extraText(s, n).length() > gLongestText) abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::startPluginOnce();
    gLongestText = size + 64;
    resetAllSlots(true);
    resetDefinition();

    std::vector<std::u16string> fields(1);
    for (size_t i = 0; i + 1 < size; i += 2) {
        char16_t unit = char16_t(data[i] | (data[i + 1] << 8));
        if (unit == 1) {
            fields.emplace_back();
        } else {
            fields.back().push_back(unit);
        }
    }
    fields.resize(2 + 3 * kRows);
    const std::u16string &control = fields[0];
    bool tabs = !control.empty() && (control[0] & 1);
    int press = control.size() > 1 ? int(control[1] % 130) - 5 : 4;

    std::vector<std::u16string> labels(fields.begin() + 2, fields.begin() + 2 + kRows);
    std::vector<std::u16string> kinds(fields.begin() + 2 + kRows, fields.begin() + 2 + 2 * kRows);
    std::vector<std::u16string> texts(fields.begin() + 2 + 2 * kRows, fields.end());
    for (std::u16string &kind : kinds) {
        if (!kind.empty() && kind[0] < 64) kind = kKinds[kind[0] % kKindCount] + kind.substr(1);
    }

    harness::call(u"Tessary_SetLabels", labels);
    harness::call(u"Tessary_SetInputTypes", kinds);
    harness::call(u"Tessary_SetDefaultInputs", texts);

    setDialogPlayer([press](DialogDefinition &d) {
        checkRecord(d);
        d.resultIndex = press >= 0 && press < kSlotCount ? press : -1;
    });
    const std::u16string &options = fields[1];
    harness::Result r;
    if (tabs) {
        r = harness::call(u"Tessary_DoTabDialog", {options, u"Title", u"One", u"Text one", u"Two", u"", u"Three",
                                                    u"Text three", u"OK", u"Cancel"});
    } else {
        r = harness::call(u"Tessary_DoDialog", {options, u"Title", u"Text", u"OK", u"Cancel"});
    }
    setDialogPlayer(nullptr);
    if (r.text.size() > gLongestText) abort();
    checkRecord(dialog());

    // What the rows read back after the close stays bounded too.
    for (size_t row = 1; row <= kRows; ++row) {
        std::string digits = std::to_string(row);
        std::u16string name = u"text" + std::u16string(digits.begin(), digits.end());
        harness::Result input = harness::call(u"Tessary_GetInput", {name});
        if (input.text.size() > gLongestText) abort();
    }
    return 0;
}
