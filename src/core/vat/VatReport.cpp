#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/LeadingInt.h"
#include "core/base/LineReader.h"
#include "core/base/TextInput.h"
#include "core/base/TracePoint.h"
#include "core/bookings/Dates.h"
#include "core/vat/VatColumns.h"
#include "core/vat/VatImport.h"
#include "core/vat/VatMessages.h"
#include "core/vat/VatRows.h"

namespace belvaron {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The values of the last data line. A column beyond the end of a data line
// keeps its value from here.
//
// The row's text fields are kept terminated: a date text is cut to its first
// 19 bytes and an amount text to its first 29, before the date is
// normalised. Longer texts are no dates or amounts; cutting them keeps the
// import going, and the row still meets its booking by number.
struct RowValues {
    int32_t bookingNo = 0;
    int32_t account = 0;
    char date[sizeof(VatDetailRow::date)] = {};
    char amount[sizeof(VatDetailRow::amount)] = {};
};

void TakeFields(std::string_view line, const VatColumns& columns, RowValues& values) {
    ForEachField(line, [&](int index, std::string_view field, std::size_t) {
        if (index == columns.bookingNo) values.bookingNo = LeadingInt(field);
        if (index == columns.account) values.account = LeadingInt(field);
        if (index == columns.date) SetField(values.date, field.substr(0, sizeof values.date - 1));
        if (index == columns.amount) {
            SetField(values.amount, field.substr(0, sizeof values.amount - 1));
        }
    });
}

void StoreRow(VatDetailRow& row, const RowValues& values) {
    row.bookingNo = values.bookingNo;
    std::memcpy(row.date, values.date, sizeof row.date);
    NormalizeDate(row.date);
    row.account = values.account;
    std::memcpy(row.amount, values.amount, sizeof row.amount);
}

// Where a read of the report stands, for its progress.
struct ReadProgress {
    const Progress* progress = nullptr;
    std::FILE* file = nullptr;
    int64_t size = 0;
    int64_t lines = 0;
    bool cancelled = false;

    // One more line read; false once cancelled.
    bool Step() {
        if (++lines % kProgressStride == 0 && !GoOn(progress, std::ftell(file), size)) {
            cancelled = true;
        }
        return !cancelled;
    }
};

// Reads the data lines after the header. Line numbers in messages are file
// line numbers, the header being line 1. False without a message when
// cancelled.
bool ReadVatRows(VatRows& rows, LineReader& reader, const VatColumns& columns, Notices& notices,
                 ReadProgress& progress) {
    RowValues values;
    int lineNumber = reader.Number();
    for (;;) {
        if (!progress.Step()) return false;
        TracePoint = 2057;
        try {
            const LineReader::Result result = reader.Next();
            if (result == LineReader::Result::End) return true;
            if (result == LineReader::Result::Error) {
                notices.Plain(
                    Format(msg::kE226, TracePoint, reader.Number() + 1, values.bookingNo));
                return false;
            }
            lineNumber = reader.Number();
            const std::string_view line = reader.Text();
            if (line.empty() || line.front() != '\t') continue;
            TakeFields(line, columns, values);
        } catch (...) {
            notices.Plain(Format(msg::kE226, TracePoint, lineNumber, values.bookingNo));
            return false;
        }
        try {
            TracePoint = 2058;
            VatDetailRow* row = rows.AppendRoom();
            if (!row) {
                notices.Plain(msg::kE224);
                return false;
            }
            TracePoint = 2059;
            StoreRow(*row, values);
            ++rows.count;
        } catch (...) {
            notices.Plain(Format(msg::kE225, TracePoint, lineNumber, values.bookingNo));
            return false;
        }
    }
}

}  // namespace

// A line longer than kMaxFieldChars bytes is read to its end and only
// its first kMaxFieldChars bytes are used, for the header as for a data line: a
// column or field beyond them counts as missing.
VatImportOutcome ImportVatReport(VatRows& rows, const std::string& path, const Progress* progress) {
    TracePoint = 2050;
    VatImportOutcome outcome;
    TextInput file;
    if (!file.Open(path, kMaxVatReportBytes)) {
        // A folder, FIFO or device opens but cannot be read as a report.
        const bool opened =
            file.status() == InputStatus::NotRegular || file.status() == InputStatus::TooLarge;
        outcome.notices.Plain(Format(opened ? msg::kE221 : msg::kE220, path.c_str()));
        return outcome;
    }
    AddConversionNotice(outcome.notices, path, file.conversion());
    LineReader reader(file.file());
    TracePoint = 2051;
    LineReader::Result result = LineReader::Result::Error;
    try {
        result = reader.Next();
    } catch (...) {
        result = LineReader::Result::Error;
    }
    if (result == LineReader::Result::Error) {
        outcome.notices.Plain(Format(msg::kE221, path.c_str()));
        return outcome;
    }
    // An empty file has an empty header, which lacks every column.
    const std::string_view header =
        result == LineReader::Result::Line ? reader.Text() : std::string_view();
    const VatColumns columns = FindVatColumns(header);
    TracePoint = 2056;
    if (!columns.Complete()) {
        outcome.notices.Plain(std::string(msg::kE223Head) + MissingVatColumns(columns) +
                              msg::kE223Tail);
        return outcome;
    }
    ReadProgress ticks{progress, file.file(), static_cast<int64_t>(file.size()), 0, false};
    const int32_t rowsBefore = rows.count;
    const bool complete = ReadVatRows(rows, reader, columns, outcome.notices, ticks);
    TracePoint = 2060;
    file.Close();
    if (ticks.cancelled) {
        rows.count = rowsBefore;
        outcome.cancelled = true;
    }
    if (!complete) return outcome;
    TracePoint = 2061;
    outcome.read = true;
    return outcome;
}

}  // namespace belvaron
