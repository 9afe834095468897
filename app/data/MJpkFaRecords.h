#pragma once

#include <QSqlQuery>
#include <QString>

class QXmlStreamWriter;

// A document of a JPK_FA file as the selection query gives it.
struct MJpkFaDocument
{
    int id = 0;
    QString issueDate;
    QString number;
    int idBuyer = 0;
    int idSeller = 0;
    QString saleDate;
    int kind = 0;
    int idParent = 0;
    int idEndText2 = 0;
};

// Writes the Faktura records of one JPK_FA(1) file and keeps their count and
// the sum of their gross totals for FakturaCtrl.
class MJpkFaRecords
{
public:
    explicit MJpkFaRecords(QXmlStreamWriter& xml);

    void write(const MJpkFaDocument& document);
    int count() const;
    double grossSum() const;

private:
    QXmlStreamWriter& m_xml;
    QSqlQuery m_buyer;
    QSqlQuery m_seller;
    QSqlQuery m_endText;
    QSqlQuery m_groups;
    QSqlQuery m_totals;
    QSqlQuery m_correctReason;
    QSqlQuery m_parentNumber;
    QSqlQuery m_advance;
    int m_count = 0;
    double m_grossSum = 0.0;
};
