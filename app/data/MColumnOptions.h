#pragma once

#include <QString>

// The stored column layouts of the lists.
class MColumnOptions
{
public:
    // Rewrites the four stored column-layout options of one view (COLUMN_SORT_,
    // COLUMN_SIZE_, COLUMN_VISIBLE_, COLUMN_POSITION_ + viewSuffix) after the
    // logical column `column` was removed from the view's query (removed true)
    // or inserted at that index (removed false).
    static void shiftColumnOptions(const QString& viewSuffix, int column, bool removed);
};
