// Opens Tessary_DoList on long lists through the host and, in the same run,
// fills a bare list view of the same rows and columns with the same styles:
// how much the dialog costs over what Windows itself needs to show the rows.
//
//   bench_lists [ROWS...]     default 2500 10000 30000 40000
//   bench_lists --sort [ROWS...]   default 1000000: a shown list sorted by
//                             a column of texts with digits, then the other way
//   bench_lists --fit         a form of long captions, a long label and a
//                             message of three lines against the same form
//                             with short ones: what measuring and fitting the
//                             content adds to opening it
//
// Each size runs three times and the median is printed, in milliseconds:
// "dialog" from the call until the dialog has painted its rows, "bare" from
// creating the list view until it has painted them, and their ratio, then
// "close" from the dialog being told to close until the call returns, and
// "dual" and "dual close" the same for Tessary_DoDualListDialog with as many
// rows on its left, and "checked" the dialog's open with every row checked
// by the script (each row's key among the selected values) with its ratio to
// the unchecked open; then the growth between sizes four times apart.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "hostcore.h"
#include "tests/common/list_text.h"

namespace {

using bench::median;
using bench::now;

constexpr int kColumns = 3;
constexpr int kRuns = 3;
// The style of the plug-in's check-box lists, but a list view that holds its
// rows (no LVS_OWNERDATA): what a list costs that is filled row by row.
constexpr DWORD kListStyle =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | WS_TABSTOP | LVS_EDITLABELS | LVS_AUTOARRANGE | LVS_REPORT;
constexpr int kWindowWidth = 383;
constexpr int kWindowHeight = 360;

std::wstring cellText(int row, int column) {
    wchar_t cell[24];
    swprintf(cell, 24, L"row%05d-%c", row, L'a' + column);
    return cell;
}

std::wstring listText(int rows) {
    return listtext::cellsOf(rows, kColumns, cellText);
}

// ---- the dialog -----------------------------------------------------------

// A message posted before the call is first taken from the queue by the
// dialog's own message loop, once the dialog has initialised and shown
// itself; the dialog is then painted at once and closed, and that moment is
// when a user would see the rows. The hook sees only posted messages, so it
// costs nothing while the list is filled.
constexpr UINT kReadyProbe = WM_APP + 7;
double gReady = 0;
HHOOK gHook = nullptr;

// With a column to sort by, the shown dialog's list is sorted by it as a
// click on its title does, and the time until the sorted rows are painted
// is taken.
// A second click sorts the other way.
int gSortColumn = 0;
double gSorted = 0, gResorted = 0;
constexpr int kListId = 36;

double clickTitle(HWND dialog) {
    HWND list = GetDlgItem(dialog, kListId);
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = kListId;
    click.hdr.code = UINT(LVN_COLUMNCLICK);
    click.iItem = -1;
    click.iSubItem = gSortColumn;
    const double start = now();
    SendMessageW(dialog, WM_NOTIFY, WPARAM(kListId), LPARAM(&click));
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return now() - start;
}

void sortShownList(HWND dialog) {
    gSorted = clickTitle(dialog);
    gResorted = clickTitle(dialog);
}

LRESULT CALLBACK onGetMessage(int code, WPARAM wParam, LPARAM lParam) {
    MSG *message = reinterpret_cast<MSG *>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->hwnd == nullptr && message->message == kReadyProbe) {
        message->message = WM_NULL;
        HWND dialog = FindWindowW(L"#32770", L"Bench");
        if (dialog == nullptr) {
            PostThreadMessageW(GetCurrentThreadId(), kReadyProbe, 0, 0);
        } else {
            RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            gReady = now();
            if (gSortColumn > 0) sortShownList(dialog);
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        }
    }
    return CallNextHookEx(gHook, code, wParam, lParam);
}

struct DialogTimes {
    double open, close;
};

DialogTimes timeDialog(hostcore::PluginHost &host, const wchar_t *function, const std::vector<std::wstring> &args) {
    gReady = 0;
    gHook = SetWindowsHookExW(WH_GETMESSAGE, onGetMessage, nullptr, GetCurrentThreadId());
    PostThreadMessageW(GetCurrentThreadId(), kReadyProbe, 0, 0);
    const double start = now();
    host.call(function, args);
    const double end = now();
    UnhookWindowsHookEx(gHook);
    return gReady > 0 ? DialogTimes{gReady - start, end - gReady} : DialogTimes{-1, -1};
}

// ---- the bare list view --------------------------------------------------

double timeBare(int rows) {
    const double start = now();
    HWND window = CreateWindowExW(0, L"STATIC", L"Bench", WS_OVERLAPPEDWINDOW, 40, 30, kWindowWidth, kWindowHeight,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", kListStyle, 17, 10, kWindowWidth - 44, kWindowHeight - 90,
                                window, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES);
    for (int column = 0; column <= kColumns; ++column) {
        LVCOLUMNW c = {};
        c.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        c.cx = column == 0 ? 20 : 100;
        c.pszText = const_cast<wchar_t *>(L"");
        c.iSubItem = column;
        SendMessageW(list, LVM_INSERTCOLUMNW, WPARAM(column), LPARAM(&c));
    }
    for (int row = 0; row < rows; ++row) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_STATE;
        item.iItem = row;
        item.pszText = const_cast<wchar_t *>(L"");
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(1);
        SendMessageW(list, LVM_INSERTITEMW, 0, LPARAM(&item));
        for (int column = 0; column < kColumns; ++column) {
            std::wstring text = cellText(row, column);
            LVITEMW cell = {};
            cell.mask = LVIF_TEXT;
            cell.iItem = row;
            cell.iSubItem = column + 1;
            cell.pszText = &text[0];
            SendMessageW(list, LVM_SETITEMW, 0, LPARAM(&cell));
        }
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ShowWindow(window, SW_SHOW);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const double elapsed = now() - start;
    DestroyWindow(window);
    return elapsed;
}

// Sorting a shown list of `rows` rows by its first column, a text with
// digits, and back the other way.
void benchSorting(hostcore::PluginHost &host, const std::vector<int> &sizes) {
    std::printf("%8s %12s %12s %16s\n", "rows", "open ms", "sort ms", "other way ms");
    gSortColumn = 1;
    for (int rows : sizes) {
        const std::wstring text = listText(rows);
        std::vector<double> open, sorted, resorted;
        for (int run = 0; run < kRuns; ++run) {
            const DialogTimes times = timeDialog(
                host, L"Tessary_DoList", {L"multi", L"3", L"A|B|C", L"", L"", L"Bench", L"", text, L"", L"OK", L""});
            open.push_back(times.open);
            sorted.push_back(gSorted);
            resorted.push_back(gResorted);
        }
        std::printf("%8d %12.1f %12.1f %16.1f\n", rows, median(open), median(sorted), median(resorted));
        std::fflush(stdout);
    }
    gSortColumn = 0;
}

// The same four rows, with captions of an ordinary length or long ones
// that wrap, go onto lines and are cut.
void stageForm(hostcore::PluginHost &host, bool longCaptions) {
    if (longCaptions) {
        host.call(L"Tessary_SetLabels",
                  {L"Standard|Express|Express overnight delivery|Pick-up|Post office|",
                   L"Send the invoice by e-mail|Gift wrap with a card too|Leave at the neighbours door|",
                   L"The name of the person who will sign for the delivery at the door", L"Paper"});
    } else {
        host.call(L"Tessary_SetLabels", {L"Post|Courier|Pick-up|", L"Invoice|Gift wrap|Card|", L"Name", L"Paper"});
    }
    host.call(L"Tessary_SetInputTypes", {L"radio", L"checkbox", L"edit", L"combobox"});
    host.call(L"Tessary_SetDefaultInputs", {L"1", L"010", L"Ann", L"white|grey|=white"});
}

void benchFitting(hostcore::PluginHost &host) {
    const std::wstring message = L"How shall the order reach the customer? Choose the kind of delivery, what goes "
                                 L"with the parcel, who signs for it at the door, and the paper of the invoice.";
    std::vector<double> shortOpen, longOpen;
    for (int run = 0; run < 2 * kRuns + 1; ++run) {
        stageForm(host, false);
        shortOpen.push_back(timeDialog(host, L"Tessary_DoDialog", {L"", L"Bench", L"Fill in the form.", L"OK"}).open);
        stageForm(host, true);
        longOpen.push_back(timeDialog(host, L"Tessary_DoDialog", {L"", L"Bench", message, L"OK"}).open);
    }
    const double s = median(shortOpen), l = median(longOpen);
    std::printf("%14s %14s %14s %8s\n", "short form ms", "long form ms", "fitting ms", "ratio");
    std::printf("%14.1f %14.1f %14.1f %8.2f\n", s, l, l - s, l / s);
}

} // namespace

int wmain(int argc, wchar_t **argv) {
    std::vector<int> sizes;
    const bool sorting = argc > 1 && std::wstring(argv[1]) == L"--sort";
    const bool fitting = argc > 1 && std::wstring(argv[1]) == L"--fit";
    for (int i = sorting ? 2 : 1; i < argc; ++i) sizes.push_back(_wtoi(argv[i]));
    if (sizes.empty()) sizes = sorting ? std::vector<int>{1000000} : std::vector<int>{2500, 10000, 30000, 40000};

    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    hostcore::PluginHost host;
    std::wstring error;
    if (!host.load(L"TessaryPlugin" + std::wstring(hostcore::kPluginSuffix), &error) ||
        host.startup(60) != hostcore::kStartupSuccess) {
        std::fprintf(stderr, "bench_lists: the plug-in did not start\n");
        return 2;
    }
    if (sorting) {
        benchSorting(host, sizes);
        return 0;
    }
    if (fitting) {
        benchFitting(host);
        return 0;
    }
    std::printf("%8s %12s %12s %8s %12s %12s %12s %12s %8s\n", "rows", "dialog ms", "bare ms", "ratio", "close ms",
                "dual ms", "dual close", "checked ms", "ratio");
    std::vector<double> dialogTimes;
    for (int rows : sizes) {
        const std::wstring text = listText(rows);
        // The dual list shows one cell a row, as many rows on its left.
        // Its first cells are also the keys that check every row at opening.
        const std::wstring items = listtext::cellsOf(rows, 1, [](int row, int) { return cellText(row, 0); });
        std::vector<double> dialog, bare, close, dual, dualClose, checked;
        for (int run = 0; run < kRuns; ++run) {
            const DialogTimes times = timeDialog(
                host, L"Tessary_DoList", {L"multi", L"3", L"A|B|C", L"", L"", L"Bench", L"", text, L"", L"OK", L""});
            const DialogTimes dualTimes = timeDialog(host, L"Tessary_DoDualListDialog",
                                                     {L"", L"Bench", L"", L"All", items, L"Chosen", L"", L"OK"});
            const DialogTimes checkedTimes = timeDialog(
                host, L"Tessary_DoList", {L"multi", L"3", L"A|B|C", L"", L"", L"Bench", L"", text, items, L"OK", L""});
            checked.push_back(checkedTimes.open);
            dual.push_back(dualTimes.open);
            dualClose.push_back(dualTimes.close);
            dialog.push_back(times.open);
            close.push_back(times.close);
            bare.push_back(timeBare(rows));
        }
        const double d = median(dialog), b = median(bare);
        dialogTimes.push_back(d);
        std::printf("%8d %12.1f %12.1f %8.2f %12.1f %12.1f %12.1f %12.1f %8.2f\n", rows, d, b, d / b, median(close),
                    median(dual), median(dualClose), median(checked), median(checked) / d);
        std::fflush(stdout);
    }
    // Linear growth would be 4 times for 4 times the rows.
    for (size_t i = 0; i < sizes.size(); ++i) {
        for (size_t j = i + 1; j < sizes.size(); ++j) {
            if (sizes[j] != 4 * sizes[i]) continue;
            std::printf("growth from %d to %d rows: %.2f times\n", sizes[i], sizes[j], dialogTimes[j] / dialogTimes[i]);
        }
    }
    return 0;
}
