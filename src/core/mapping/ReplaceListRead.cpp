#include <cstdio>
#include <memory>
#include <string>

#include "core/base/ByteReader.h"
#include "core/base/LeadingInt.h"
#include "core/base/Text.h"
#include "core/base/TracePoint.h"
#include "core/mapping/ReplaceList.h"

namespace belvaron {

namespace {

bool IsWhite(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The characters of a field that its value can depend on.

// Reads one field up to `terminator` or the end of the text and returns its
// leading integer. A comma terminator is consumed, a line feed is not.
// `atEnd` is set when the text ended inside the field.
int32_t ReadField(ByteReader& in, int terminator, bool& atEnd) {
    int c = in.Peek();
    while (c != EOF && c != terminator && IsWhite(c)) {
        in.Get();
        c = in.Peek();
    }
    std::string text;
    while (c != EOF && c != terminator) {
        if (text.size() < kMaxFieldChars) text.push_back(static_cast<char>(c));
        in.Get();
        c = in.Peek();
    }
    if (c == EOF) {
        atEnd = true;
    } else if (terminator == ',') {
        in.Get();
    }
    return LeadingInt(text);
}

// True when only white space is left; the white space is consumed (it would
// be skipped as the start of the next entry's first field anyway).
bool OnlyWhiteSpaceLeft(ByteReader& in) {
    int c = in.Peek();
    while (c != EOF && IsWhite(c)) {
        in.Get();
        c = in.Peek();
    }
    return c == EOF;
}

ReplaceListText Read(ByteReader& in) {
    TracePoint = 2030;
    ReplaceListText list;
    list.entries.reserve(kMaxReplaceEntries);
    while (!OnlyWhiteSpaceLeft(in)) {
        if (list.entries.size() == kMaxReplaceEntries) {
            list.tooMany = true;
            break;
        }
        ReplaceEntry e;
        int32_t* const fields[] = {&e.qbAccount,    &e.vatRate,  &e.sollAccount,
                                   &e.habenAccount, &e.datevKey, &e.preconditionAccount};
        bool atEnd = false;
        for (int k = 0; k < 5 && !atEnd; ++k) {
            TracePoint = 2031;
            *fields[k] = ReadField(in, ',', atEnd);
        }
        TracePoint = 2032;
        if (!atEnd) *fields[5] = ReadField(in, '\n', atEnd);
        list.entries.push_back(e);
    }
    list.readError = in.error();
    return list;
}

}  // namespace

ReplaceListText ReadReplaceList(std::string_view bytes) {
    ByteReader in(bytes);
    return Read(in);
}

ReplaceListText ReadReplaceList(std::FILE* file) {
    // The reader's block buffer is large; keep it off the stack.
    auto in = std::make_unique<ByteReader>(file);
    return Read(*in);
}

}  // namespace belvaron
