#pragma once

#include <cstdint>

namespace belvaron {

// One booking. Text fields are Windows-1252 bytes of fixed width (see
// FixedText.h): a shorter text ends with a zero byte, a full field has none.
struct BookingRecord {
    int32_t
        bookingNo;   // journal column "Buchungs-Nr."; shared by the records of one journal booking
    char date[20];   // DD.MM.YYYY after normalisation
    char beleg[10];  // document number
    char name[40];
    char purpose[40];
    int32_t sollAccount;   // 0 = no usable account
    int32_t habenAccount;  // 0 = no usable account
    int32_t vatRate;       // whole percent
    char amount[30];       // as the journal wrote it, e.g. "1.234,56"
    char currency[10];     // "EUR" or "DM"
    int32_t datevKey;      // 0 = none
    int8_t redated;        // 1 once the cash-basis re-dating gave it the payment date
};

}  // namespace belvaron
