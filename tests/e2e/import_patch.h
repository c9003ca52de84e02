// Points a module's import of one system function at a recorder. GetGuiResources
// answers 0 under Wine, so the tests count the fonts and windows a module makes
// by watching the calls it imports.
#ifndef TESSARY_TESTS_E2E_IMPORT_PATCH_H
#define TESSARY_TESTS_E2E_IMPORT_PATCH_H

#include <windows.h>

#include <cstring>

namespace e2e {

// Points `module`'s import of dll!name at `replacement`; returns the function
// it pointed at before, or null when the module has no such import.
inline void *patchImport(HMODULE module, const char *dll, const char *name, void *replacement) {
    BYTE *base = reinterpret_cast<BYTE *>(module);
    IMAGE_NT_HEADERS *headers = reinterpret_cast<IMAGE_NT_HEADERS *>(base + reinterpret_cast<IMAGE_DOS_HEADER *>(base)->e_lfanew);
    IMAGE_DATA_DIRECTORY imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (IMAGE_IMPORT_DESCRIPTOR *entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + imports.VirtualAddress);
         entry->Name != 0; ++entry) {
        if (_stricmp(reinterpret_cast<char *>(base + entry->Name), dll) != 0) continue;
        IMAGE_THUNK_DATA *names = reinterpret_cast<IMAGE_THUNK_DATA *>(base + entry->OriginalFirstThunk);
        IMAGE_THUNK_DATA *slots = reinterpret_cast<IMAGE_THUNK_DATA *>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            IMAGE_IMPORT_BY_NAME *byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char *>(byName->Name), name) != 0) continue;
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            void *previous = reinterpret_cast<void *>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<DWORD_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return previous;
        }
    }
    return nullptr;
}

} // namespace e2e

#endif
