// Staging of form rows. A form is described over several calculation steps:
// labels, input kinds and default texts wait in the control table until
// Tessary_DoDialog or Tessary_DoTabDialog lays them out and shows them, and
// the entered values wait in the same slots for Tessary_GetInput. Nothing is
// kept anywhere else, so a row lives exactly as long as its slots are not
// reset by a later call.
#include <string>
#include <utility>

#include "functions/dialog_frame.h"
#include "functions/functions.h"
#include "functions/input_rows.h"
#include "model/dialog_definition.h"
#include "model/call.h"
#include "model/warnings.h"

namespace {

constexpr int kRowCount = 24;          // staged rows 1..24
constexpr int32_t kFirstRowY = 10;     // script units, client top to the first row
constexpr int32_t kRowPitch = 33;      // script units from one staged row to the next
constexpr int32_t kRowHeight = 23;     // script units
constexpr int32_t kLabelX = 17;        // script units
constexpr int32_t kLabelWidth = 95;    // script units
constexpr int32_t kInputX = 120;       // script units
constexpr int32_t kInputWidth = 238;   // script units
constexpr uint32_t kKindBufferSize = 10242; // bytes read of an input kind keyword

// The host bounds the count by the registration; a host that did not must
// still never push a row past the label and input slot ranges.
uint32_t stagedArgumentCount(const CallArguments &args) {
    uint32_t count = args.count();
    return count < uint32_t(kRowCount) ? count : uint32_t(kRowCount);
}

// Form dialogs and Tessary_GetInput find an input row by this name.
WideText rowName(int row) {
    WideText name = widenAscii("text");
    name.append(integerToText(row));
    return name;
}

void stageLabel(ControlSpec &slot, WideText &&label, int32_t y) {
    placeStatic(slot, std::move(label), SlotLayout{kLabelX, y, kLabelWidth, kRowHeight, 1.0, 0.0, false, false});
}

// A kind that is none of the kinds makes a row without a field.
void warnUnknownKind(uint32_t argument, const std::string &kind) {
    const char *sameButCase = nullptr;
    if (isInputKind(kind, sameButCase)) return;
    std::string line = "argument ";
    line += std::to_string(argument + 1);
    line += ' ';
    line += quoted(kind);
    line += " is no input kind";
    if (sameButCase != nullptr) {
        line += "; kinds are case-sensitive: ";
        line += quoted(sameButCase);
    }
    warn(line);
}

void stageInput(ControlSpec &slot, int row, std::string kind, int32_t y) {
    slot.value = rowName(row);
    slot.disabled = takeReadOnlySuffix(kind) ? 1 : 0;
    slot.kind = NarrowText(kind.c_str());
    setLayout(slot, SlotLayout{kInputX, y, kInputWidth, kRowHeight, 1.0, 0.0, false, true});
}

} // namespace

// Label 1 (slot 12) is not reset first, so a font set for it survives; every
// other label slot and the further controls start over.
void setLabelsFunction(const CallArguments &args, CallResult &result) {
    forgetMarkupObjects();
    DialogDefinition &d = dialog();
    for (int slot = kFirstExtraSlot; slot < kSlotCount; ++slot) d.controls[slot].reset(false, false);
    int32_t y = kFirstRowY;
    const uint32_t count = stagedArgumentCount(args);
    // Each label slot starts over as it is staged (as resetForLabels(false)
    // would reset it first) and takes its label over from the arguments: a
    // form staged again copies no label, and a slot that already is a text
    // keeps its keyword.
    for (uint32_t j = 0; j < uint32_t(kRowCount); ++j) {
        ControlSpec &slot = d.controls[kFirstLabelSlot + int(j)];
        WideText label = j < count ? args.take(j) : WideText();
        if (label.empty()) {
            if (j > 0 || count > 0) slot.reset(false, false);
            continue;
        }
        if (j > 0) slot.reset(false, false, slot.kind.control() == ControlKind::kStatic);
        stageLabel(slot, std::move(label), y);
        y += kRowPitch;
    }
    return result.setEmpty();
}

// Default texts staged earlier stay, so the three staging calls may come in
// any order; a row whose kind is empty loses its default with the rest.
void setInputTypesFunction(const CallArguments &args, CallResult &result) {
    forgetMarkupObjects();
    resetForInputTypes(false, false);
    int32_t y = kFirstRowY;
    int32_t used = 0;
    uint32_t count = stagedArgumentCount(args);
    for (uint32_t j = 0; j < count; ++j) {
        int slot = kFirstInputSlot + int(j);
        std::string kind = args.narrow(j, kKindBufferSize);
        if (kind.empty()) {
            resetSlot(slot, true, true);
            continue;
        }
        warnUnknownKind(j, kind);
        ++used;
        stageInput(dialog().controls[slot], int(j) + 1, kind, y);
        y += kRowPitch;
    }
    dialog().controlCount = used;
    return result.setEmpty();
}

// The texts of the further slots 60..119 go as well: a form dialog spreads
// rows over them, and old parts of a row must not come back in a new one.
void setDefaultInputsFunction(const CallArguments &args, CallResult &result) {
    forgetMarkupObjects();
    for (int slot = kFirstInputSlot; slot < kSlotCount; ++slot) dialog().controls[slot].text.clear();
    uint32_t count = stagedArgumentCount(args);
    for (uint32_t j = 0; j < count; ++j) {
        const WideText &text = args.wide(j);
        if (!text.empty()) dialog().controls[kFirstInputSlot + int(j)].text = text;
    }
    return result.setEmpty();
}

// Every slot is searched, so values that other dialogs name (a button's
// return code "1".."8") are found as well. An empty name would match every
// unnamed slot and answers nothing instead.
void getInputFunction(const CallArguments &args, CallResult &result) {
    const WideText &name = args.wide(0);
    if (name.empty()) return result.setEmpty();
    const DialogDefinition &d = dialog();
    for (const ControlSpec &s : d.controls) {
        // The record keeps the text until the host has it: no copy.
        if (s.value == name) return result.setLastingText(s.text);
    }
    return result.setEmpty();
}
