// Setting sliders and date and time pickers as their user does: a click for
// the focus, then keys, until the control reports the value asked for.
#include "driver_internal.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

namespace driver {
namespace {

constexpr int kSliderAttempts = 3;    // key batches before a slider is given up
constexpr int kMaxSliderKeys = 1000;  // a move needing more presses than this is refused
constexpr size_t kMaxPickerFields = 8;  // fields looked for in one picker
constexpr int kPickerPasses = 2;      // rounds of typing before a date or time is given up
constexpr int kMaxFieldSteps = 1000;  // Up or Down presses that may bring a field to its value
constexpr int kFieldClickFirstX = 5;  /* pixels into the picker's client area of the first click */
constexpr int kFieldClickStepX = 5;   /* pixels further right for each further click */
constexpr int kFieldClickTries = 6;   // clicks tried for a field to land on
constexpr int kFirstYear = 1601;      // the first year a SYSTEMTIME holds
constexpr int kLastTypedYear = 9999;  // a year field takes four digits
constexpr int kHalfDayHours = 12;

POINT centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// ---- sliders

// The presses that take a slider to `to` with the fewest keys: from where it
// is, or from an end after Home or End; whole pages first, then lines.
// Right and Page Down move up the range unless `flipped`.
struct SliderPlan {
    WORD start = 0;  // VK_HOME, VK_END, or 0 to start where the thumb is
    WORD page = 0;   // VK_NEXT or VK_PRIOR
    int pages = 0;
    WORD line = 0;   // VK_RIGHT or VK_LEFT
    int lines = 0;
    int keys() const { return (start ? 1 : 0) + pages + lines; }
};

// False when no start reaches `to` in whole lines.
bool planSlider(int now, int to, std::pair<int, int> range, int pageSize, int lineSize, bool flipped,
                SliderPlan* best)
{
    const struct {
        WORD key;
        int from;
    } starts[] = {{0, now}, {VK_HOME, range.first}, {VK_END, range.second}};
    bool found = false;
    for (const auto& s : starts) {
        const int distance = std::abs(to - s.from);
        if (distance % pageSize % lineSize != 0) continue;
        SliderPlan plan;
        plan.start = s.key;
        const bool up = (to > s.from) != flipped;
        plan.page = up ? VK_NEXT : VK_PRIOR;
        plan.line = up ? VK_RIGHT : VK_LEFT;
        plan.pages = distance / pageSize;
        plan.lines = distance % pageSize / lineSize;
        if (!found || plan.keys() < best->keys()) *best = plan;
        found = true;
    }
    return found;
}

// ---- date and time pickers

// The part of a date-time value that one field of a picker shows.
enum class Field { None, Year, Month, Day, Hour, HalfDay, Minute, Second };

// Which field a step from a to b changed. Up on the month can move the day
// too (31 January to 28 February), so the larger parts are looked at first;
// the AM/PM field moves the hour by exactly twelve.
Field changedField(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    if (a.wYear != b.wYear) return Field::Year;
    if (a.wMonth != b.wMonth) return Field::Month;
    if (a.wDay != b.wDay) return Field::Day;
    if (a.wHour != b.wHour) return std::abs(a.wHour - b.wHour) == kHalfDayHours ? Field::HalfDay : Field::Hour;
    if (a.wMinute != b.wMinute) return Field::Minute;
    if (a.wSecond != b.wSecond) return Field::Second;
    return Field::None;
}

// The field that keys act on in the focused picker: a step changes it, which
// tells which one it is, and the opposite step puts it back. Wine moves the
// AM/PM field by twelve hours without coming round midnight (Up from 11 PM
// gives 12 AM), so the first step goes down in the afternoon and up in the
// morning; a field at the end of the picker's range is tried the other way.
// None when nothing changes: no field is selected (or no date is shown).
Field selectedField(Dialog& d, int id)
{
    const std::optional<SYSTEMTIME> shown = d.dateTime(id);
    if (!shown) return Field::None;
    const WORD first = shown->wHour >= kHalfDayHours ? VK_DOWN : VK_UP;
    const WORD second = first == VK_UP ? VK_DOWN : VK_UP;
    for (const WORD step : {first, second}) {
        const std::optional<SYSTEMTIME> before = d.dateTime(id);
        if (!before || !d.pressKey(step)) return Field::None;
        const std::optional<SYSTEMTIME> after = d.dateTime(id);
        const Field field = after ? changedField(*before, *after) : Field::None;
        if (field != Field::None) {
            d.pressKey(step == VK_UP ? VK_DOWN : VK_UP);
            return field;
        }
    }
    return Field::None;
}

// A picker's fields in the order Right walks them, and where the keys are.
struct FieldWalk {
    std::vector<Field> fields;
    size_t at = 0;       // index of the selected field
    size_t clicked = 0;  // index of the field the click selected
    POINT click{};       // that click, in the dialog's client coordinates
};

// Steps right from the selected field until the walk stays put (the last
// field) or comes round to where it began (the picker wraps, as Wine's does),
// and in the first case then left until it stays put at the first field. Two
// fields may change the same part (a weekday name and the day), so coming
// round is only believed when the next field matches the second one too.
bool walkFields(Dialog& d, int id, FieldWalk* walk)
{
    std::vector<Field> seen{selectedField(d, id)};  // after 0, 1, 2... presses of Right
    if (seen[0] == Field::None) return false;
    bool cameRound = false;
    while (!cameRound && seen.size() <= kMaxPickerFields + 1) {
        d.pressKey(VK_RIGHT);
        const Field f = selectedField(d, id);
        if (f == Field::None) return false;
        if (f == seen.back()) break;
        seen.push_back(f);
        const size_t k = seen.size() - 1;
        cameRound = k >= 3 && seen[k - 1] == seen[0] && seen[k] == seen[1];
    }
    if (cameRound) {
        walk->fields.assign(seen.begin(), seen.end() - 2);
        walk->at = 1;
        return true;
    }
    walk->fields = seen;
    d.pressKey(VK_LEFT, 0, static_cast<int>(walk->fields.size() - 1));
    walk->at = 0;
    while (walk->fields.size() < kMaxPickerFields) {
        d.pressKey(VK_LEFT);
        const Field f = selectedField(d, id);
        if (f == Field::None) return false;
        if (f == walk->fields.front()) break;
        walk->fields.insert(walk->fields.begin(), f);
        ++walk->clicked;
    }
    return true;
}

// Clicks the picker's text from its left edge on until a click selects a
// field, and learns the fields. Left of the up-down arrows or the calendar
// button only: a click there would change the value.
bool findFields(Dialog& d, int id, FieldWalk* walk)
{
    const HWND picker = d.control(id).hwnd;
    RECT client{};
    GetClientRect(picker, &client);
    int textRight = client.right - GetSystemMetrics(SM_CXVSCROLL);
    if (const HWND upDown = FindWindowExW(picker, nullptr, UPDOWN_CLASSW, nullptr)) {
        RECT arrows{};
        GetWindowRect(upDown, &arrows);
        MapWindowPoints(nullptr, picker, reinterpret_cast<POINT*>(&arrows), 2);
        textRight = std::min(textRight, static_cast<int>(arrows.left));
    }
    for (int i = 0; i < kFieldClickTries; ++i) {
        POINT p{client.left + kFieldClickFirstX + i * kFieldClickStepX, (client.top + client.bottom) / 2};
        if (p.x >= textRight) break;
        MapWindowPoints(picker, d.hwnd(), &p, 1);
        if (!d.clickClient(p) || GetFocus() != picker) return false;  // disabled, or closed
        *walk = FieldWalk{};
        walk->click = p;
        if (walkFields(d, id, walk)) return true;
    }
    return false;
}

// Where two fields show the same part, the later one takes digits (the day
// of "dddd, MMMM d", not the weekday).
bool moveToField(Dialog& d, FieldWalk* walk, Field target)
{
    const auto last = std::find(walk->fields.rbegin(), walk->fields.rend(), target);
    if (last == walk->fields.rend()) return false;
    const int to = static_cast<int>(walk->fields.rend() - last) - 1;
    const int steps = to - static_cast<int>(walk->at);
    if (steps != 0 && !d.pressKey(steps > 0 ? VK_RIGHT : VK_LEFT, 0, std::abs(steps))) return false;
    walk->at = static_cast<size_t>(to);
    return true;
}

// Typing a whole field moves Windows' picker on to the next one, and Wine's
// not: after typing, the keys are found again, or brought back by a click.
bool findKeysAgain(Dialog& d, int id, FieldWalk* walk)
{
    const Field f = selectedField(d, id);
    if (f != Field::None && f == walk->fields[walk->at]) return true;
    const auto it = std::find(walk->fields.begin(), walk->fields.end(), f);
    if (f != Field::None && it != walk->fields.end()) {
        walk->at = static_cast<size_t>(it - walk->fields.begin());
        return true;
    }
    walk->at = walk->clicked;
    return d.clickClient(walk->click);
}

// One part of the value to enter, with the number of digits its field takes
// at most, so that the picker takes them without waiting for more.
struct FieldEntry {
    Field field;
    int value;
    int digits;
};

std::wstring padded(int value, int digits)
{
    std::wstring text = std::to_wstring(value);
    return std::wstring(static_cast<size_t>(std::max(0, digits - static_cast<int>(text.size()))), L'0') + text;
}

// The number a field shows for a part of the value: a 12-hour picker shows
// the hour within its half of the day.
int shownPart(Field field, int value, bool halfDays)
{
    return field == Field::Hour && halfDays ? value % kHalfDayHours : value;
}

int partOf(const SYSTEMTIME& t, Field field, bool halfDays)
{
    switch (field) {
    case Field::Year: return t.wYear;
    case Field::Month: return t.wMonth;
    case Field::Day: return t.wDay;
    case Field::Hour: return shownPart(field, t.wHour, halfDays);
    case Field::Minute: return t.wMinute;
    default: return 0;
    }
}

// Types one field's digits. A field that does not take them is stepped to
// the value with Up or Down, as a user would: Wine's picker ignores digits
// on a month shown by name, and a two-digit year keeps its century.
bool enterField(Dialog& d, int id, FieldWalk* walk, const FieldEntry& e, bool halfDays)
{
    const int wanted = shownPart(e.field, e.value, halfDays);
    const int typed = e.field == Field::Hour && halfDays && wanted == 0 ? kHalfDayHours : wanted;
    if (!moveToField(d, walk, e.field) || !d.typeText(padded(typed, e.digits)) || !findKeysAgain(d, id, walk)) {
        return false;
    }
    const std::optional<SYSTEMTIME> now = d.dateTime(id);
    if (!now) return false;
    // Within a field, and within a half of the day, no step comes round.
    const int steps = wanted - partOf(*now, e.field, halfDays);
    if (steps == 0 || std::abs(steps) > kMaxFieldSteps) return true;  // the check after all fields tells
    return moveToField(d, walk, e.field) && d.pressKey(steps > 0 ? VK_UP : VK_DOWN, 0, std::abs(steps));
}

// Enters each part in the order given, until `done` holds. On a 12-hour
// picker the AM/PM field then turns to the other half of the day if needed.
template <typename Done>
bool enterFields(Dialog& d, int id, const std::vector<FieldEntry>& entries, Done done)
{
    FieldWalk walk;
    if (!findFields(d, id, &walk)) return false;
    const bool halfDays = std::find(walk.fields.begin(), walk.fields.end(), Field::HalfDay) != walk.fields.end();
    for (int pass = 0; pass < kPickerPasses; ++pass) {
        for (const FieldEntry& e : entries) {
            if (!enterField(d, id, &walk, e, halfDays)) return false;
            if (e.field != Field::Hour || !halfDays) continue;
            const std::optional<SYSTEMTIME> now = d.dateTime(id);
            const bool afternoon = now && now->wHour >= kHalfDayHours;
            if (now && afternoon != (e.value >= kHalfDayHours)) {
                // Down from the afternoon, up from the morning (see selectedField).
                if (!moveToField(d, &walk, Field::HalfDay) || !d.pressKey(afternoon ? VK_DOWN : VK_UP)) return false;
            }
        }
        const std::optional<SYSTEMTIME> now = d.dateTime(id);
        if (now && done(*now)) return true;
    }
    return false;
}

int daysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// Within the limits the picker was given (DTM_SETRANGE), by date alone.
bool withinPickerRange(HWND picker, int year, int month, int day)
{
    SYSTEMTIME limits[2] = {};
    const LRESULT which = SendMessageW(picker, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(limits));
    auto key = [](int y, int m, int d) { return y * 10000L + m * 100L + d; };
    const long wanted = key(year, month, day);
    if ((which & GDTR_MIN) && wanted < key(limits[0].wYear, limits[0].wMonth, limits[0].wDay)) return false;
    if ((which & GDTR_MAX) && wanted > key(limits[1].wYear, limits[1].wMonth, limits[1].wDay)) return false;
    return true;
}

}  // namespace

bool Dialog::setSliderPos(int id, int pos)
{
    const HWND slider = itemOfClass(id, TRACKBAR_CLASSW);
    if (!slider || !IsWindowVisible(slider)) return false;
    const std::pair<int, int> range = trackbarRange(id);
    if (pos < range.first || pos > range.second) return false;
    // On the thumb a click only takes the focus; on the channel it would page.
    RECT thumb{};
    SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    POINT p = centre(thumb);
    ClientToScreen(slider, &p);
    if (!clickScreen(p, 1) || GetFocus() != slider) return false;
    const int pageSize = std::max(1, static_cast<int>(SendMessageW(slider, TBM_GETPAGESIZE, 0, 0)));
    const int lineSize = std::max(1, static_cast<int>(SendMessageW(slider, TBM_GETLINESIZE, 0, 0)));
    bool flipped = false;
    for (int attempt = 0; attempt < kSliderAttempts && trackbarPos(id) != pos; ++attempt) {
        SliderPlan plan;
        if (!planSlider(trackbarPos(id), pos, range, pageSize, lineSize, flipped, &plan) ||
            plan.keys() > kMaxSliderKeys) {
            return false;
        }
        if (plan.start && !pressKey(plan.start)) return false;
        if (plan.pages && !pressKey(plan.page, 0, plan.pages)) return false;
        if (plan.lines && !pressKey(plan.line, 0, plan.lines)) return false;
        // A slider whose Down is Left (TBS_DOWNISLEFT), or one laid out from
        // right to left, went the other way.
        flipped = !flipped;
    }
    return trackbarPos(id) == pos;
}

bool Dialog::setDate(int id, int year, int month, int day)
{
    const HWND picker = itemOfClass(id, DATETIMEPICK_CLASSW);
    if (!picker || !IsWindowVisible(picker) || year < kFirstYear || year > kLastTypedYear || month < 1 ||
        month > 12 || day < 1 || day > daysInMonth(year, month) || !withinPickerRange(picker, year, month, day)) {
        return false;
    }
    // Year first, then month: each step leaves a date that exists, which
    // the picker insists on (the day last, once its month allows it).
    const std::vector<FieldEntry> entries = {{Field::Year, year, 4}, {Field::Month, month, 2}, {Field::Day, day, 2}};
    return enterFields(*this, id, entries, [&](const SYSTEMTIME& t) {
        return t.wYear == year && t.wMonth == month && t.wDay == day;
    });
}

bool Dialog::setTime(int id, int hour, int minute)
{
    const HWND picker = itemOfClass(id, DATETIMEPICK_CLASSW);
    if (!picker || !IsWindowVisible(picker) || hour < 0 || hour > 23 || minute < 0 || minute > 59) return false;
    const std::vector<FieldEntry> entries = {{Field::Hour, hour, 2}, {Field::Minute, minute, 2}};
    return enterFields(*this, id, entries,
                       [&](const SYSTEMTIME& t) { return t.wHour == hour && t.wMinute == minute; });
}

}  // namespace driver
