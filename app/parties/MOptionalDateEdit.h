#pragma once

#include <QDate>
#include <QDateEdit>

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

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The smallest date of the field stands for "no date"; it is shown as blank text.
    static QDate emptyMark();
};
