#include "runtime/system_dialogs.h"

WideText systemFilterList(const WideText &filter) {
    WideText list;
    if (filter.empty()) return list;
    for (size_t i = 0; i < filter.length(); ++i) list.push_back(filter[i] == TextUnit('|') ? TextUnit(0) : filter[i]);
    // The text's own terminator then makes the second NUL.
    if (filter[filter.length() - 1] != TextUnit('|')) list.push_back(TextUnit(0));
    return list;
}

WideText defaultExtension(const WideText &filter) {
    // The first pattern: after the first '|', up to the next '|' or ';'.
    size_t start = 0;
    while (start < filter.length() && filter[start] != TextUnit('|')) ++start;
    if (start + 2 >= filter.length() || filter[start + 1] != TextUnit('*') || filter[start + 2] != TextUnit('.'))
        return WideText();
    WideText extension;
    for (size_t i = start + 3; i < filter.length(); ++i) {
        const TextUnit unit = filter[i];
        if (unit == TextUnit('|') || unit == TextUnit(';')) break;
        if (unit == TextUnit('*') || unit == TextUnit('?') || unit == TextUnit(' ')) return WideText();
        extension.push_back(unit);
    }
    return extension;
}
