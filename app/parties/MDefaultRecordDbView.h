#pragma once

#include "parties/MRecordDbView.h"

// A record view one of whose records can be the default one, which new documents start
// with. Its id is kept in an option ("0" for none) and its row is painted as the default
// record whenever it is loaded, however the list is filtered and sorted.
class MDefaultRecordDbView : public MRecordDbView
{
    Q_OBJECT

public:
    // `defaultOption` is the option that keeps the default record's id.
    MDefaultRecordDbView(MAppServices* appWnd, QWidget* parent, const QString& defaultOption);
    ~MDefaultRecordDbView() override;

    // Asked by the main window when it shows the DEFAULT command checked.
    Q_INVOKABLE bool isCurrentDefault() const;

public slots:
    // Switches the default mark of the current record.
    void doDefault();
    // Makes `id` the default record (0: none), stores it and paints its row.
    void setIdRecordDefault(int id);

protected:
    void renewRowMarks() override;

private:
    const QString m_defaultOption;
    int m_idRecordDefault = 0;
};
