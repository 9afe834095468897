#pragma once

#include <QString>

// Documents of every family for the list tests, written by SQL into a schema-script
// database; due dates are relative to today's local date.
//
//  1 FV 1/2023   VAT invoice 2023-05-10, paid 2023-05-20, 1000.00 gross, buyer "Ćma"
//  2 FK 1/2023   its correction to 800.00, paid without a date; corrects 1
//  3             duplicate of 1, issued 2024-01-15
//  4             cancelled duplicate of 2
//  5 FV 50%/2024 2024-02-01 (no. 2), due yesterday, 50.00, buyer 2 with second buyer 3
//  6 FV 3/2024   2024-02-01 (no. 10), due five days ago, 300.00 EUR
//  7 FV 2/2024   2024-03-01 (no. 3), due today, base seller 2 that no longer exists
//  8 FZ 1/2024   cancelled advance invoice 2024-03-05, 500.00 with a part of 200.00
//  9 RR 1/2024   purchase invoice 2024-04-01
// 10 FZK 1/2024  correction of 8 to 400.00 with a part of 100.00, unpaid, due in a week
// Every document was created and changed at 2024-01-01 10:00:00 UTC.
// Lines: 1 "Zasuwa"; 2 "Śruba"; 5 "Łożysko"; 8 "Usługa"; 9 "Zboże"; 10 "Usługa".
namespace MInvoiceFixture {

// Empties the document tables and writes the fixture; false when a statement fails.
bool write();
// Today's local date moved by `days`, as "yyyy-MM-dd".
QString day(int days);

} // namespace MInvoiceFixture
