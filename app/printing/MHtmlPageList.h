#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// The finished pages of a paginated template's output, handed over one by one
// as the template closes them (the template reaches this object as `doc.pages`).
// A long register is thus never one text in the script, nor copied whole to
// have its page count put in: the pages are held once, here, and each is made a
// document of its own only when it is printed.
//
// A page is the template's top-level <div> of that page without a page break;
// every "[[PAGES]]" in it stands for the number of pages, put in when the page
// is read.
class MHtmlPageList : public QObject
{
    Q_OBJECT

public:
    explicit MHtmlPageList(QObject* parent);

    // True once the template has said the pages are complete (finish()).
    bool isFinished() const;
    int count() const;
    // Page i (from 0) as a document of its own, with the page count put in.
    QString page(int i) const;
    // All pages as one document, every page after the first with a page break before it.
    QString wholeHtml() const;

public slots:
    // The document's head (up to and with the <body> tag) and end (from </body> on).
    void setFrame(QString head, QString end);
    void addPage(QString html);
    void finish();
    // No pages, not finished: for a new run or a stopped one.
    void clear();

signals:
    // The pages are complete.
    void finished();

private:
    QString withPageCount(const QString& html) const;

    QString m_head;
    QString m_end;
    QStringList m_pages;
    bool m_finished = false;
};
