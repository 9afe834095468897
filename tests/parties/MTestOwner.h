#pragma once

#include <QList>
#include <QPair>
#include <QWidget>

// Stands in for the main window or the invoice editor as the owner of a record dialog
// and records the change notices that the dialog sends it.
class MTestOwner : public QWidget
{
    Q_OBJECT

public:
    QList<QPair<int, int>> notices;

public slots:
    void doChangeDbObject(int kind, int id) { notices.append(qMakePair(kind, id)); }
};
