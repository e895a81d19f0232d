#include <algorithm>
#include <array>
#include <vector>

#include "core/base/CodePage.h"
#include "core/base/Format.h"
#include "core/base/Text.h"
#include "core/base/TracePoint.h"
#include "core/datev/AccountCheck.h"
#include "core/datev/AccountCheckMessages.h"

namespace belvaron {

namespace {

using namespace account_state;

constexpr int32_t kUsedNotInChart = kNotInChart + kUsedOffset;
constexpr int32_t kUsedCollective = kCollective + kUsedOffset;
constexpr int32_t kUsedReserved = kReserved + kUsedOffset;
constexpr int32_t kUsedAutomaticAM = kAutomaticAM + kUsedOffset;
constexpr int32_t kUsedAutomaticAV = kAutomaticAV + kUsedOffset;

// Accounts below this have a "next plain account" in the generic proposal.
constexpr int32_t kFourDigitLimit = 10000;

void MarkAccount(int32_t account, int32_t datevKey, std::span<int32_t> states, MarkResult& result) {
    if (account < 0) {
        result.negativeAccounts.push_back(account);  // sorted and counted once at the end
        return;
    }
    int32_t& state = states[static_cast<std::size_t>(account)];
    switch (state) {
        case kNotInChart:
            state = kUsedNotInChart;
            ++result.counts.notExisting;
            break;
        case kCollective:
            state = kUsedCollective;
            ++result.counts.collective;
            break;
        case kReserved:
            state = kUsedReserved;
            ++result.counts.reserved;
            break;
        case kAutomaticAM:
            if (datevKey == 0) {
                state = kUsedAutomaticAM;
                ++result.counts.automaticAM;
            }
            break;
        case kAutomaticAV:
            if (datevKey == 0) {
                state = kUsedAutomaticAV;
                ++result.counts.automaticAV;
            }
            break;
        default:
            break;
    }
}

// "%d, " per account, a line break after every tenth.
void AppendList(std::string& out, const std::vector<int32_t>& accounts) {
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        out += Format("%d, ", accounts[i]);
        if ((i + 1) % 10 == 0) out += '\n';
    }
}

void AppendSection(std::string& out, const char* head, const std::vector<int32_t>& accounts,
                   const char* help) {
    out += head;
    if (accounts.empty()) {
        out += msg::kReportOk;
        return;
    }
    AppendList(out, accounts);
    out += help;
}

struct FixedProposal {
    int32_t account;
    std::array<const char*, 3> sk3;
    std::array<const char*, 3> sk4;
};

constexpr FixedProposal kFixedProposals[] = {
    {9401,
     {"9401,16, 1575, 1775, 0, 0  (MwSt 16%)", "9401, 7, 1571, 1771, 0, 0  (MwSt 7%)",
      "9401, 0, 1570, 1770, 0, 0  (MwSt sonstiges)"},
     {"9401,16, 1405, 3805, 0, 0  (MwSt 16%)", "9401, 7, 1401, 3801, 0, 0  (MwSt 7%)",
      "9401, 0, 1400, 3800, 0, 0  (MwSt sonstiges)"}},
    {2200,
     {"2200,16, 1575, 1775, 0, 0  (MwSt 16%)", "2200, 7, 1571, 1771, 0, 0  (MwSt 7%)",
      "2200, 0, 1570, 1770, 0, 0  (MwSt sonstiges)"},
     {"2200,16, 1405, 3805, 0, 0  (MwSt 16%)", "2200, 7, 1401, 3801, 0, 0  (MwSt 7%)",
      "2200, 0, 1400, 3800, 0, 0  (MwSt sonstiges)"}},
    {9500,
     {"9500, 0, 2660, 2660, 0, 0  (Erträge aus Kursdifferenzen)", nullptr, nullptr},
     {"9500, 0, 4840, 4840, 0, 0  (Erträge aus Kursdifferenzen)", nullptr, nullptr}},
    {9550,
     {"9550, 0, 2150, 2150, 0, 0  (Aufw. aus Kursdifferenzen)", nullptr, nullptr},
     {"9550, 0, 6880, 6880, 0, 0  (Aufw. aus Kursdifferenzen)", nullptr, nullptr}},
};

// Appends the fixed lines for the account; false when it has none.
bool AppendFixedLines(std::string& out, int32_t account, ChartVariant variant) {
    if (variant == ChartVariant::None) return false;
    for (const FixedProposal& p : kFixedProposals) {
        if (p.account != account) continue;
        for (const char* line : variant == ChartVariant::SK3 ? p.sk3 : p.sk4) {
            if (line) (out += line) += "\n";
        }
        return true;
    }
    return false;
}

// For each four-digit account, the smallest plain account above it and
// below 10000; 0 when there is none.
std::vector<int32_t> NextPlainAccounts(std::span<const int32_t> states) {
    std::vector<int32_t> next(kFourDigitLimit, 0);
    int32_t following = 0;
    for (int32_t n = kFourDigitLimit - 1; n >= 0; --n) {
        next[static_cast<std::size_t>(n)] = following;
        if (states[static_cast<std::size_t>(n)] == kPlain) following = n;
    }
    return next;
}

// The first account from `n` on that a booking uses; states.size() when
// none. Most accounts are unused, so they are passed in blocks without a
// branch per account: the top bit of (kUsedOffset - 1 - state) is set for
// every used state. The exact test follows in the last loop.
std::size_t NextUsed(std::span<const int32_t> states, std::size_t n) {
    constexpr std::size_t kBlock = 16;
    constexpr auto kBelowUsed = static_cast<uint32_t>(kUsedOffset - 1);
    for (; n + kBlock <= states.size(); n += kBlock) {
        uint32_t bits = 0;
        for (std::size_t k = 0; k < kBlock; ++k) {
            bits |= kBelowUsed - static_cast<uint32_t>(states[n + k]);
        }
        if (bits >> 31 != 0) break;
    }
    while (n < states.size() && states[n] < kUsedOffset) ++n;
    return n;
}

}  // namespace

std::string ReportFileBytes(const std::string& report) { return Utf8ToCp1252(LfToCrLf(report)); }

MarkResult MarkUsedAccounts(std::span<const BookingRecord> bookings, std::span<int32_t> states) {
    MarkResult result;
    for (std::size_t i = 0; i < bookings.size(); ++i) {
        TracePoint = 3053;
        const BookingRecord& b = bookings[i];
        if (b.habenAccount >= kAccountLimit || b.sollAccount >= kAccountLimit) {
            result.tooLarge = i;
            break;
        }
        TracePoint = 3054;
        MarkAccount(b.habenAccount, b.datevKey, states, result);
        MarkAccount(b.sollAccount, b.datevKey, states, result);
    }
    auto& negative = result.negativeAccounts;
    std::sort(negative.begin(), negative.end());
    negative.erase(std::unique(negative.begin(), negative.end()), negative.end());
    result.counts.notExisting += static_cast<int>(negative.size());
    return result;
}

std::string BuildAccountReport(std::span<const int32_t> states,
                               std::span<const int32_t> negativeAccounts) {
    std::vector<int32_t> notExisting(negativeAccounts.begin(), negativeAccounts.end());
    std::vector<int32_t> collective;
    std::vector<int32_t> reserved;
    std::vector<int32_t> automatic;
    for (std::size_t n = NextUsed(states, 0); n < states.size(); n = NextUsed(states, n + 1)) {
        const int32_t account = static_cast<int32_t>(n);
        switch (states[n]) {
            case kUsedNotInChart:
                notExisting.push_back(account);
                break;
            case kUsedCollective:
                collective.push_back(account);
                break;
            case kUsedReserved:
                reserved.push_back(account);
                break;
            case kUsedAutomaticAM:
            case kUsedAutomaticAV:
                automatic.push_back(account);
                break;
            default:
                break;
        }
    }
    std::string out = msg::kReportTitle;
    AppendSection(out, msg::kReportMissingHead, notExisting, msg::kReportMissingHelp);
    AppendSection(out, msg::kReportCollectiveHead, collective, msg::kReportCollectiveHelp);
    AppendSection(out, msg::kReportReservedHead, reserved, msg::kReportReservedHelp);
    AppendSection(out, msg::kReportAutomaticHead, automatic, msg::kReportAutomaticHelp);
    return out;
}

ReplaceProposals CollectProposals(std::span<const int32_t> states, ChartVariant variant,
                                  std::optional<int32_t> lastPlainAccount) {
    const std::vector<int32_t> nextPlain = NextPlainAccounts(states);
    ReplaceProposals proposals;
    proposals.variant = variant;
    for (std::size_t i = NextUsed(states, 0); i < states.size(); i = NextUsed(states, i + 1)) {
        ProposalAccount p;
        p.account = static_cast<int32_t>(i);
        p.automatic = states[i] == kUsedAutomaticAM || states[i] == kUsedAutomaticAV;
        if (!p.automatic) {
            std::optional<int32_t> v = lastPlainAccount;
            if (p.account < kFourDigitLimit && nextPlain[i] != 0) v = nextPlain[i];
            if (v && states[static_cast<std::size_t>(*v)] == kPlain) p.plainAccount = v;
        }
        proposals.accounts.push_back(p);
    }
    return proposals;
}

std::string BuildProposals(const ReplaceProposals& proposals) {
    std::string out;
    for (const ProposalAccount& p : proposals.accounts) {
        TracePoint = 3059;
        const int32_t n = p.account;
        const bool fixed = AppendFixedLines(out, n, proposals.variant);
        if (p.automatic) {
            (out += Format(msg::kProposalAutomaticOff, n, n, n)) += "\n";
        } else if (!fixed) {
            TracePoint = 3060;
            if (p.plainAccount) {
                const int32_t v = *p.plainAccount;
                (out += Format(msg::kProposalCheckMeaning, n, v, v)) += "\n";
            }
        }
    }
    return Utf8ToCp1252(LfToCrLf(out));
}

}  // namespace belvaron
