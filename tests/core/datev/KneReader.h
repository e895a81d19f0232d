#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace belvaron::test {

// An independent reader of DATEV "Postversand" data files, for checking
// what the writer produced: it knows the format, not the writer's code.
struct KneBookingRead {
    int64_t amount = 0;
    int32_t key = 0;
    int64_t gegenkonto = 0;
    int64_t konto = 0;
    int64_t belegfeld1 = 0;
    std::string ddmm;
    std::string text;      // code page 850 bytes
    std::string currency;  // "EUR"/"DEM" (extended), "1"/"2" (old)
};

struct KneFileRead {
    std::string error;  // empty when the file parsed
    std::string header;
    std::vector<KneBookingRead> bookings;
    int64_t total = 0;
    int32_t blocks = 0;
};

class KneReader {
public:
    KneReader(std::string_view bytes, bool extended) : b_(bytes), extended_(extended) {}

    KneFileRead Read() {
        KneFileRead out;
        if (b_.size() == 0 || b_.size() % 256 != 0) return Fail(out, "size not a multiple of 256");
        out.blocks = static_cast<int32_t>(b_.size() / 256);
        if (!Header(out)) return out;
        for (;;) {
            if (p_ >= b_.size()) return Fail(out, "no total record");
            if (b_[p_] == '\0') {
                if (!ZerosToBlockEnd()) return Fail(out, "data after the zero fill of a block");
                continue;
            }
            const std::size_t start = p_;
            if (b_[p_] == 'x' || b_[p_] == 'w') {
                if (!Total(out)) return out;
                if (p_ / 256 != start / 256 || p_ % 256 == 0)
                    return Fail(out, "total record at block end");
                if (!ZerosToBlockEnd() || p_ != b_.size())
                    return Fail(out, "bytes after the total");
                return out;
            }
            KneBookingRead booking;
            if (!(extended_ ? Extended(booking) : Old(booking))) return Fail(out, Where("booking"));
            if (start / 256 != (p_ - 1) / 256 || (p_ - 1) % 256 > 235) {
                return Fail(out, Where("booking record beyond byte 236 of its block"));
            }
            out.bookings.push_back(booking);
        }
    }

private:
    std::string_view b_;
    bool extended_;
    std::size_t p_ = 0;

    KneFileRead& Fail(KneFileRead& out, std::string why) {
        out.error = why;
        return out;
    }
    std::string Where(const char* what) const {
        return std::string(what) + " at " + std::to_string(p_);
    }

    bool Eat(char c) {
        if (p_ < b_.size() && b_[p_] == c) {
            ++p_;
            return true;
        }
        return false;
    }
    bool Number(int64_t& value, std::size_t maxDigits = 19) {
        const std::size_t start = p_;
        value = 0;
        while (p_ < b_.size() && b_[p_] >= '0' && b_[p_] <= '9' && p_ - start < maxDigits) {
            value = value * 10 + (b_[p_++] - '0');
        }
        return p_ > start;
    }
    bool Signed(int64_t& value) {
        const bool negative = b_[p_] == '-';
        if (!Eat('+') && !Eat('-')) return false;
        if (!Number(value)) return false;
        if (negative) value = -value;
        return true;
    }
    bool Until(char end, std::string& text) {
        const std::size_t stop = b_.find(end, p_);
        if (stop == std::string_view::npos) return false;
        text = std::string(b_.substr(p_, stop - p_));
        p_ = stop + 1;
        return true;
    }
    bool Fixed(std::size_t n, std::string& text) {
        if (p_ + n > b_.size()) return false;
        text = std::string(b_.substr(p_, n));
        p_ += n;
        return true;
    }
    bool ZerosToBlockEnd() {
        const std::size_t end = (p_ / 256 + 1) * 256;
        for (; p_ < end; ++p_) {
            if (b_[p_] != '\0') return false;
        }
        return true;
    }

    bool Header(KneFileRead& out) {
        if (!Eat('\x1D') || !Eat('\x18')) {
            out.error = "no header record";
            return false;
        }
        if (extended_) {
            std::string rest;
            if (!Until('\xB5', rest) || !Until('\x1C', rest) || !Eat('y')) {
                out.error = "bad extended header";
                return false;
            }
        } else {
            p_ = 80;
            if (b_[79] != 'y') {
                out.error = "bad old header";
                return false;
            }
        }
        out.header = std::string(b_.substr(0, p_));
        return true;
    }

    bool Total(KneFileRead& out) {
        const bool negative = b_[p_] == 'w';
        ++p_;
        int64_t value = 0;
        Number(value);
        if (!Eat('y') || !Eat('z')) {
            out.error = Where("bad total record");
            return false;
        }
        out.total = negative ? -value : value;
        return true;
    }

    bool Extended(KneBookingRead& r) {
        if (!Signed(r.amount)) return false;
        int64_t key = 0;
        if (Eat('l') && !Number(key)) return false;
        r.key = static_cast<int32_t>(key);
        std::string belegfeld;
        if (!Eat('a') || !Number(r.gegenkonto) || !Eat('\xBD') || !Until('\x1C', belegfeld))
            return false;
        if (belegfeld.size() != 12) return false;
        r.belegfeld1 = std::stoll(belegfeld);
        if (!Eat('d') || !Fixed(4, r.ddmm) || !Eat('e') || !Number(r.konto)) return false;
        if (!Eat('\x1E') || !Until('\x1C', r.text)) return false;
        if (!Eat('\xB3') || !Until('\x1C', r.currency)) return false;
        return Eat('y');
    }

    bool Old(KneBookingRead& r) {
        if (!Signed(r.amount) || !Eat('a')) return false;
        int64_t key = 0;
        if (!Number(key, 2)) return false;
        r.key = static_cast<int32_t>(key);
        int64_t ignored = 0;
        if (!Number(r.gegenkonto) || !Eat('b') || !Number(r.belegfeld1) || !Eat('c') ||
            !Number(ignored) || !Eat('d') || !Fixed(4, r.ddmm) || !Eat('e') || !Number(r.konto)) {
            return false;
        }
        std::string fixed;
        if (!Fixed(10, fixed) || fixed != "f0000g0000") return false;
        if (!Eat('\x1E') || !Until('\x1C', r.text) || !Eat('o') || !Fixed(1, r.currency))
            return false;
        return Eat('y');
    }
};

}  // namespace belvaron::test
