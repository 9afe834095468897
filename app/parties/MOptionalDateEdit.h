#pragma once

#include <QDate>
#include <QDateEdit>
#include <QVariant>

// A date edit that may also hold no date: shown empty and read as a null QDate. The
// user empties it with Delete; its calendar opens at today's month while
// it is empty.
class MOptionalDateEdit : public QDateEdit
{
    Q_OBJECT

public:
    explicit MOptionalDateEdit(QWidget* parent = nullptr);

    // A null or invalid date empties the field.
    void setOptionalDate(const QDate& date);
    // Null while the field is empty.
    QDate optionalDate() const;

    // The date as a column stores it: "yyyy-MM-dd" text, possibly followed by a time
    // of day (ignored); NULL or text that is no date empties the field.
    void setStoredDate(const QVariant& value);
    // "yyyy-MM-dd", or a NULL text while the field is empty.
    QVariant storedDate() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The smallest date of the field stands for "no date"; it is shown as blank text.
    static QDate emptyMark();
};
