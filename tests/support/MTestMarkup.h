#pragma once

#include <QString>

// A database text full of markup that names a picture in a folder of its own, and a
// watch on that folder: printed as text, the markup opens no file.
class MTestMarkup
{
public:
    // Writes the picture into `folder` (created when missing) and starts watching it.
    explicit MTestMarkup(const QString& folder);
    ~MTestMarkup();
    MTestMarkup(const MTestMarkup&) = delete;
    MTestMarkup& operator=(const MTestMarkup&) = delete;

    // "<b>Gruba</b> </td></tr> &amp; <img src=\"file://…\">" naming the picture.
    QString text() const;
    // True once the watch has started and no file of the folder has been opened since.
    bool nothingOpened() const;

private:
    QString m_text;
    int m_watch = -1;
};
