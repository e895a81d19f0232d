#include "core/datev/ChartFile.h"

#include <memory>
#include <string>

#include "core/base/ByteReader.h"
#include "core/base/LeadingInt.h"
#include "core/base/Text.h"
#include "core/base/TracePoint.h"

namespace belvaron {

namespace {

// The characters of a chart line's number field and marker text that count.

// Reads up to `terminator` or the end; keeps at most kMaxFieldChars characters
// (the number field after its leading white space). The terminator is not
// consumed. False at the end of the input.
bool ReadUpTo(ByteReader& in, int terminator, bool skipWhite, std::string& text) {
    text.clear();
    int c = in.Peek();
    if (skipWhite) {
        while (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f') {
            in.Get();
            c = in.Peek();
        }
    }
    while (c != EOF && c != terminator) {
        if (text.size() < kMaxFieldChars) text.push_back(static_cast<char>(c));
        in.Get();
        c = in.Peek();
    }
    return c != EOF;
}

bool ReadEntries(ByteReader& in, const ChartEntrySink& entry) {
    std::string field;
    std::string rest;
    bool more = true;
    while (more) {
        TracePoint = 3050;
        // The number runs to the next comma, across line breaks when a line
        // has none; then one character (normally a blank) is skipped, unless
        // it ends the line, and the rest of the line holds the markers.
        more = ReadUpTo(in, ',', true, field);
        rest.clear();
        if (more) {
            in.Get();  // the comma
            if (in.Peek() != '\n') in.Get();
            more = ReadUpTo(in, '\n', false, rest);
            if (more) in.Get();  // the line feed
        }
        TracePoint = 3051;
        entry(LeadingInt(field), MarkerState(rest));
    }
    return !in.error();
}

// Writes the entries into the account table.
ChartEntrySink IntoTable(std::span<int32_t> states, ChartReadResult& result) {
    return [states, &result](int32_t account, int32_t state) {
        if (account < 0 || account >= kAccountLimit) return;
        states[static_cast<std::size_t>(account)] = state;
        if (state == account_state::kPlain && account > 0) result.lastPlainAccount = account;
    };
}

}  // namespace

ChartVariant ChartVariantOf(std::string_view chartName) {
    ChartVariant variant = ChartVariant::None;
    if (chartName.find("SK3") != std::string_view::npos) variant = ChartVariant::SK3;
    if (chartName.find("SK4") != std::string_view::npos) variant = ChartVariant::SK4;
    return variant;
}

const char* SachkontenrahmenOf(ChartVariant variant) {
    switch (variant) {
        case ChartVariant::SK3:
            return "03";
        case ChartVariant::SK4:
            return "04";
        case ChartVariant::None:
            break;
    }
    return "";
}

int32_t MarkerState(std::string_view rest) {
    // Tested in this order; a later match overrides an earlier one.
    int32_t state = account_state::kPlain;
    if (rest.find("AV") != std::string_view::npos) state = account_state::kAutomaticAV;
    if (rest.find("AM") != std::string_view::npos) state = account_state::kAutomaticAM;
    if (rest.find('R') != std::string_view::npos) state = account_state::kReserved;
    if (rest.find('S') != std::string_view::npos) state = account_state::kCollective;
    return state;
}

bool ReadChartEntries(std::FILE* file, const ChartEntrySink& entry) {
    const auto in = std::make_unique<ByteReader>(file);
    return ReadEntries(*in, entry);
}

bool ReadChartEntries(std::string_view bytes, const ChartEntrySink& entry) {
    ByteReader in(bytes);
    return ReadEntries(in, entry);
}

ChartReadResult ReadChart(std::FILE* file, std::span<int32_t> states) {
    ChartReadResult result;
    result.readError = !ReadChartEntries(file, IntoTable(states, result));
    return result;
}

ChartReadResult ReadChart(std::string_view bytes, std::span<int32_t> states) {
    ChartReadResult result;
    result.readError = !ReadChartEntries(bytes, IntoTable(states, result));
    return result;
}

}  // namespace belvaron
