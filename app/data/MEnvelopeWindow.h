#pragma once

#include <QString>
#include <QVector>

// The envelope window of ENVELOPE_WINDOW_MARGINS: left, top, right and height in millimetres.
class MEnvelopeWindow
{
public:
    // The four values of a stored text; a part that is not a number gives 0,
    // a missing part the default value of its place.
    static QVector<int> values(const QString& text);

    // The stored form: the four values joined by ";".
    static QString text(const QVector<int>& values);
};
