#pragma once

#include <QString>

// What a piece of data work has to tell the user: the window that started
// the work shows it in a message box of the kind named here.
struct MDataMessage
{
    enum class Kind
    {
        None, // nothing to tell
        Information,
        Warning,
        Critical,
    };

    Kind kind = Kind::None;
    QString title;
    QString text; // rich text

    bool isEmpty() const { return kind == Kind::None; }
};
