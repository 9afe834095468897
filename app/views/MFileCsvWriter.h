#pragma once

#include <QObject>
#include <QString>

// Builds a CSV text in memory, field by field and line by line, and writes it in one go:
// comma separated, LF line ends, UTF-8 without byte-order mark. A field holding a comma,
// a double quote, a blank, a tab, CR or LF is quoted, its quotes doubled.
class MFileCsvWriter : public QObject
{
    Q_OBJECT

public:
    explicit MFileCsvWriter(QObject* parent = nullptr);
    ~MFileCsvWriter() override;

    void addField(const QString& field);
    void endLine();
    // Replaces the file; false when it could not be written (an existing file is then kept).
    bool save(const QString& fileName) const;

private:
    const QString m_separator;
    const QString m_lineEnd;
    const QString m_quote;
    QString m_text;
    bool m_lineHasFields = false;
};
