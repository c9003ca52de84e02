#include "runtime/system_dialogs.h"

WideText systemFilterList(const WideText &filter) {
    WideText list;
    if (filter.empty()) return list;
    for (size_t i = 0; i < filter.length(); ++i) list.push_back(filter[i] == TextUnit('|') ? TextUnit(0) : filter[i]);
    // The text's own terminator then makes the second NUL.
    if (filter[filter.length() - 1] != TextUnit('|')) list.push_back(TextUnit(0));
    return list;
}
