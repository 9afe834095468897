#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <QtGlobal>

// The child of `dialog` of kind T (a label or a button) that shows `text`; the
// test stops when there is none.
template <typename T>
T* childWithText(const QWidget* dialog, const QString& text)
{
    for (T* candidate : dialog->findChildren<T*>()) {
        if (candidate->text() == text)
            return candidate;
    }
    qFatal("No child showing %s", qPrintable(text));
    return nullptr;
}
