#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QSaveFile;

// Builds a CSV text field by field and line by line: comma separated, LF line ends,
// UTF-8 without byte-order mark. A field holding a comma, a double quote, a blank,
// a tab, CR or LF is quoted, its quotes doubled.
// The text is either held and written in one go by save(), or, after open(), passed
// on to the file in chunks as lines are finished and made final by commit().
class MFileCsvWriter : public QObject
{
    Q_OBJECT

public:
    explicit MFileCsvWriter(QObject* parent = nullptr);
    ~MFileCsvWriter() override;

    void addField(const QString& field);
    // A field given as its UTF-8 bytes.
    void addUtf8Field(const char* data, int size);
    // A text cell: one that begins with =, +, -, @, a tab or CR gets a leading
    // apostrophe, so that a spreadsheet shows it as text and never runs it as
    // a formula; a text that is a plain signed number (-12,50) stays as it is.
    // Numbers go in with addField, negative ones unchanged.
    void addTextField(const QString& field);
    void addUtf8TextField(const char* data, int size);
    void endLine();
    // Replaces the file; false when it could not be written (an existing file is then kept).
    bool save(const QString& fileName) const;

    // Starts writing to `fileName` (the text held so far first); false when it cannot be
    // written. Until commit() succeeds an existing file is kept.
    bool open(const QString& fileName);
    // Writes the rest and replaces the file; false when any part could not be written.
    bool commit();

private:
    void writeHeldText();

    std::unique_ptr<QSaveFile> m_file;
    bool m_writeFailed = false;
    static const char separator = ',';
    static const char lineEnd = '\n';
    static const char quote = '"';
    // The text in UTF-8.
    QByteArray m_text;
    bool m_lineHasFields = false;
};
