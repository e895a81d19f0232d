#pragma once

#include <cstdint>

namespace belvaron {

// One row of the VAT detail report ("MWST-EINZELWERTE").
struct VatDetailRow {
    int32_t bookingNo;
    char date[20];    // payment date, DD.MM.YYYY
    int32_t account;  // the VAT account
    char amount[30];  // paid VAT amount as the report wrote it
};

}  // namespace belvaron
