#include "core/datev/csv/CsvCheck.h"

#include <algorithm>

#include "core/base/ChunkedForm.h"
#include "core/base/CodePage.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/bookings/BookingStore.h"
#include "core/bookings/Dates.h"
#include "core/datev/DatevSettings.h"
#include "core/datev/csv/CsvFields.h"
#include "core/datev/csv/CsvMessages.h"

namespace belvaron::csv {

namespace m = msg::csv;

void ProblemList::Add(Fix fix, std::string line) {
    if (static_cast<int>(lines.size()) < kMaxListed) lines.push_back(std::move(line));
    ++total;
    fixes |= fix;
}

namespace {

// A range date as typed: DD.MM.YYYY and a real day; 0 otherwise.
int32_t RangeKey(const std::string& text) {
    if (text.size() != 10 || text[2] != '.' || text[5] != '.') return 0;
    const int32_t key = DateKey(text);
    return IsRealDay(key) ? key : 0;
}

void CheckSettings(const DatevSettings& s, ProblemList& errors) {
    using P = ProblemList;
    if (s.beraternummer < 1001 || s.beraternummer > 9999999) {
        errors.Add(P::kFixSettings, Format(m::kBerater, s.beraternummer));
    }
    if (s.mandantennummer < 1 || s.mandantennummer > 99999) {
        errors.Add(P::kFixSettings, Format(m::kMandant, s.mandantennummer));
    }
    if (s.kontonummernlaenge < 4 || s.kontonummernlaenge > 8) {
        errors.Add(P::kFixSettings, Format(m::kLength, s.kontonummernlaenge));
    }
    if (!IsRealDayOfAnyYear(s.wjBeginnTag, s.wjBeginnMonat)) {
        errors.Add(P::kFixSettings, Format(m::kWjBeginn, s.wjBeginnTag, s.wjBeginnMonat));
    }
    const std::string_view rahmen = FieldText(s.sachkontenrahmen);
    if (rahmen != "03" && rahmen != "04") {
        errors.Add(P::kFixSettings, Format(m::kRahmen, Cp1252ToUtf8(rahmen).c_str()));
    }
}

// Sets the keys of the range; false when the bookings cannot be selected.
bool CheckRange(const std::string& from, const std::string& to, CsvCheckResult& r) {
    using P = ProblemList;
    r.fromKey = RangeKey(from);
    r.toKey = RangeKey(to);
    const std::string fromUtf8 = Cp1252ToUtf8(from), toUtf8 = Cp1252ToUtf8(to);
    if (r.fromKey == 0) r.errors.Add(P::kFixRange, Format(m::kDateFrom, fromUtf8.c_str()));
    if (r.toKey == 0) r.errors.Add(P::kFixRange, Format(m::kDateTo, toUtf8.c_str()));
    if (r.fromKey == 0 || r.toKey == 0) return false;
    if (r.fromKey > r.toKey) {
        r.errors.Add(P::kFixRange, Format(m::kReversed, fromUtf8.c_str(), toUtf8.c_str()));
        return false;
    }
    return true;
}

// The automatic accounts to warn about; null when no chart applies.
const std::vector<int32_t>* AutomaticAccounts(const DatevSettings& s, const ChartInfo& chart,
                                              ProblemList& warnings) {
    if (!chart.known) return nullptr;
    const std::string_view rahmen = FieldText(s.sachkontenrahmen);
    const std::string_view ofChart = SachkontenrahmenOf(chart.variant);
    if (!ofChart.empty() && (rahmen == "03" || rahmen == "04") && rahmen != ofChart) {
        warnings.Add(ProblemList::kFixChart,
                     Format(m::kChartMismatch, chart.name.c_str(), std::string(ofChart).c_str(),
                            std::string(rahmen).c_str()));
        return nullptr;
    }
    return &chart.automaticAccounts;
}

// The account length the settings allow: at most `maxDigits` digits (none
// when 0), and the first number that has more.
struct AccountLength {
    int32_t maxDigits = 0;
    int64_t tooLong = 0;  // 10 ^ maxDigits
};

AccountLength AccountLengthOf(int32_t kontonummernlaenge) {
    AccountLength length;
    if (kontonummernlaenge >= 4 && kontonummernlaenge <= 8) {
        length.maxDigits = kontonummernlaenge + 1;
        length.tooLong = 1;
        for (int32_t i = 0; i < length.maxDigits; ++i) length.tooLong *= 10;
    }
    return length;
}

void CheckAccount(int32_t bookingNo, const char* side, int32_t account, AccountLength length,
                  ProblemList& errors) {
    if (account <= 0) {
        errors.Add(ProblemList::kFixAccounts, Format(m::kAccountInvalid, bookingNo, side, account));
    } else if (length.maxDigits > 0 && account >= length.tooLong) {
        const int32_t maxDigits = length.maxDigits;
        errors.Add(ProblemList::kFixAccounts,
                   Format(m::kAccountTooLong, bookingNo, side, account, maxDigits));
    }
}

// True when `text` reads as the number 0: blanks, a sign, zeros, dots and
// commas with at least one zero. Blank text or text with other characters
// is no number, not a 0.
bool IsZeroAmount(std::string_view text) {
    bool zero = false;
    for (const char c : text) {
        if (c == '0') {
            zero = true;
        } else if (c != ' ' && c != '-' && c != '+' && c != '.' && c != ',') {
            return false;
        }
    }
    return zero;
}

bool IsIn(const std::vector<int32_t>& sorted, int32_t account) {
    return std::binary_search(sorted.begin(), sorted.end(), account);
}

// Checks one booking in the range whose amount is not 0.
void CheckBooking(const BookingRecord& b, int32_t dateKey, const Amount& amount,
                  AccountLength length, const std::vector<int32_t>* automatic, CsvCheckResult& r) {
    using P = ProblemList;
    CheckAccount(b.bookingNo, m::kSoll, b.sollAccount, length, r.errors);
    CheckAccount(b.bookingNo, m::kHaben, b.habenAccount, length, r.errors);
    if (amount.tooLarge || !amount.wellFormed) {
        const std::string text = Cp1252ToUtf8(FieldText(b.amount));
        r.errors.Add(P::kFixBookings, Format(amount.tooLarge ? m::kAmountLarge : m::kAmountForm,
                                             b.bookingNo, text.c_str()));
    }
    if (b.datevKey > 9999) {
        r.errors.Add(P::kFixBookings, Format(m::kKeyLarge, b.bookingNo, b.datevKey));
    }
    if (!IsRealDay(dateKey)) {
        const std::string date = Cp1252ToUtf8(FieldText(b.date));
        r.errors.Add(P::kFixBookings, Format(m::kBookingDate, b.bookingNo, date.c_str()));
    }
    if (automatic && b.datevKey > 0 && b.datevKey != 40) {
        for (const int32_t account : {b.sollAccount, b.habenAccount}) {
            if (IsIn(*automatic, account)) {
                r.warnings.Add(P::kFixAutomatic,
                               Format(m::kAutomaticKey, b.bookingNo, b.datevKey, account));
                break;
            }
        }
    }
    if (b.sollAccount == b.habenAccount && b.sollAccount > 0) {
        r.warnings.Add(P::kFixSameAccount, Format(m::kSameAccount, b.bookingNo, b.sollAccount));
    }
}

// Checks the bookings [begin, end) of the store that lie in r's range and
// adds their problems and selected bookings to `r`.
void CheckBookings(const BookingStore& store, int32_t begin, int32_t end, AccountLength length,
                   const std::vector<int32_t>* automatic, CsvCheckResult& r) {
    r.selected.reserve(r.selected.size() + static_cast<std::size_t>(end - begin));
    for (int32_t i = begin; i < end; ++i) {
        const BookingRecord& b = store[i];
        const int32_t key = DateKey(b.date);
        if (key < r.fromKey || key > r.toKey) continue;
        const Amount amount = ParseAmount(FieldText(b.amount));
        if (amount.cents == 0 && !amount.tooLarge && !IsZeroAmount(FieldText(b.amount))) {
            const std::string text = Cp1252ToUtf8(FieldText(b.amount));
            r.errors.Add(ProblemList::kFixBookings,
                         Format(m::kAmountNotNumber, b.bookingNo, text.c_str()));
            continue;
        }
        if (amount.cents == 0 && !amount.tooLarge) {
            ++r.zeroLeftOut;
            continue;
        }
        CheckBooking(b, key, amount, length, automatic, r);
        r.selected.push_back({i, key, amount.cents});
    }
}

// Appends the problems of `later` to `list`, as if they had been added after
// its own.
void Join(ProblemList& list, const ProblemList& later) {
    for (const std::string& line : later.lines) {
        if (static_cast<int>(list.lines.size()) < ProblemList::kMaxListed)
            list.lines.push_back(line);
    }
    list.total += later.total;
    list.fixes |= later.fixes;
}

// Appends what the check of a later part of the store found to `r`.
void Join(const CsvCheckResult& later, CsvCheckResult& r) {
    Join(r.errors, later.errors);
    Join(r.warnings, later.warnings);
    r.selected.insert(r.selected.end(), later.selected.begin(), later.selected.end());
    r.zeroLeftOut += later.zeroLeftOut;
}

// From this many bookings on the check runs on two threads.
constexpr int32_t kCheckSideBySide = 1 << 16;

}  // namespace

CsvCheckResult CheckDatevCsv(const BookingStore& store, const DatevSettings& settings,
                             const std::string& dateFrom, const std::string& dateTo,
                             const ChartInfo& chart) {
    TracePoint = 3061;
    CsvCheckResult r;
    CheckSettings(settings, r.errors);
    const std::vector<int32_t>* automatic = AutomaticAccounts(settings, chart, r.warnings);
    if (!CheckRange(dateFrom, dateTo, r)) return r;

    const AccountLength length = AccountLengthOf(settings.kontonummernlaenge);
    TracePoint = 3062;
    // Two halves of a large store are checked side by side, then joined in
    // store order: the problems listed first stay those of the first
    // bookings.
    const int32_t n = store.bookingCount;
    const int32_t half = n >= kCheckSideBySide ? n / 2 : n;
    CsvCheckResult second;
    r.selected.reserve(static_cast<std::size_t>(n));
    const auto checkFirst = [&] { CheckBookings(store, 0, half, length, automatic, r); };
    if (half == n) {
        checkFirst();
    } else {
        second.fromKey = r.fromKey;
        second.toKey = r.toKey;
        RunSideBySide(checkFirst,
                      [&] { CheckBookings(store, half, n, length, automatic, second); });
        Join(second, r);
    }
    if (r.selected.empty()) {
        r.errors.Add(ProblemList::kFixRange, Format(m::kNoBookings, Cp1252ToUtf8(dateFrom).c_str(),
                                                    Cp1252ToUtf8(dateTo).c_str()));
    }
    return r;
}

namespace {

void AppendList(std::string& out, const ProblemList& list) {
    for (const std::string& line : list.lines) out += "\n- " + line;
    if (list.total > static_cast<int>(list.lines.size())) {
        out += "\n" + Format(m::kMore, list.total - static_cast<int>(list.lines.size()));
    }
}

void AppendFixes(std::string& out, unsigned fixes) {
    static constexpr struct {
        ProblemList::Fix fix;
        const char* text;
    } kFixes[] = {
        {ProblemList::kFixSettings, m::kFixSettings},
        {ProblemList::kFixRange, m::kFixRange},
        {ProblemList::kFixAccounts, m::kFixAccounts},
        {ProblemList::kFixBookings, m::kFixBookings},
        {ProblemList::kFixAutomatic, m::kFixAutomatic},
        {ProblemList::kFixSameAccount, m::kFixSameAccount},
        {ProblemList::kFixChart, m::kFixChart},
    };
    bool first = true;
    for (const auto& f : kFixes) {
        if (!(fixes & f.fix)) continue;
        out += first ? "\n\n" : "\n";
        out += f.text;
        first = false;
    }
}

}  // namespace

std::string ErrorMessage(const CsvCheckResult& r) {
    std::string out = m::kE313Head;
    AppendList(out, r.errors);
    if (!r.warnings.empty()) {
        out += "\n";
        out += m::kAlsoWarnings;
        AppendList(out, r.warnings);
    }
    AppendFixes(out, r.errors.fixes | r.warnings.fixes);
    return out;
}

std::string WarningMessage(const CsvCheckResult& r) {
    std::string out = m::kE314Head;
    AppendList(out, r.warnings);
    AppendFixes(out, r.warnings.fixes);
    return out;
}

}  // namespace belvaron::csv
