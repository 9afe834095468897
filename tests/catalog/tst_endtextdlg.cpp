#include "../parties/MTestOwner.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "catalog/MEndTextDlg.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include <memory>

// The closing-text dialog: what it stores, that it stores plain text, and that a write the
// database refuses is reported and leaves the dialog open with the text typed.
class TestEndTextDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void textIsStoredAsTyped_data();
    void textIsStoredAsTyped();
    void pastedRichTextIsStoredPlain();
    void cancelWritesNothing();
    void refusedWriteKeepsTheDialogOpen_data();
    void refusedWriteKeepsTheDialogOpen();

private:
    MEndTextDlg* openDialog(int id);
    QTextEdit* content() const;
    void clickButton(const QString& text);

    std::unique_ptr<MTestDatabase> m_db;
    std::unique_ptr<MTestOwner> m_owner;
    MEndTextDlg* m_dialog = nullptr;
};

void TestEndTextDlg::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
}

void TestEndTextDlg::init()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER IF EXISTS refuse")));
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM end_text")));
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO end_text (id, content, time_create, time_modify) "
                                               "VALUES (4, 'Dziękujemy', '2020-01-01 00:00:00', '2020-01-01 00:00:00')")));
    m_owner = std::make_unique<MTestOwner>();
    MMessageBox::takeShown();
}

void TestEndTextDlg::cleanup()
{
    m_dialog = nullptr;
    m_owner.reset();
}

MEndTextDlg* TestEndTextDlg::openDialog(int id)
{
    m_dialog = new MEndTextDlg(m_owner.get());
    m_dialog->setIdRecord(id);
    m_dialog->show();
    return m_dialog;
}

QTextEdit* TestEndTextDlg::content() const
{
    return m_dialog->findChild<QTextEdit*>(QStringLiteral("content"));
}

void TestEndTextDlg::clickButton(const QString& text)
{
    for (QPushButton* button : m_dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QFAIL("no such button");
}

void TestEndTextDlg::textIsStoredAsTyped_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<QString>("typed");

    QTest::newRow("new text") << 0 << "" << "Zapłata przelewem.";
    QTest::newRow("new text of several lines") << 0 << "" << "Linia 1\nLinia 2\n\n  wcięta";
    QTest::newRow("new empty text") << 0 << "" << "";
    QTest::newRow("edited text") << 4 << "Dziękujemy" << "Dziękujemy za zakupy\ni zapraszamy";
}

void TestEndTextDlg::textIsStoredAsTyped()
{
    QFETCH(int, id);
    QFETCH(QString, loaded);
    QFETCH(QString, typed);
    openDialog(id);
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Tekst końcowy"));
    QCOMPARE(content()->toPlainText(), loaded);
    content()->setPlainText(typed);
    clickButton(QStringLiteral("OK"));

    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(MMessageBox::takeShown().size(), 0);
    QCOMPARE(m_owner->notices.size(), 1);
    QCOMPARE(m_owner->notices.first().first, 5);
    const int saved = m_owner->notices.first().second;
    QVERIFY(saved > 0);
    if (id > 0)
        QCOMPARE(saved, id);
    const QString where = QStringLiteral(" FROM end_text WHERE id = ") + QString::number(saved);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT content") + where).toString(), typed);
    // Only the modification time moves on an edit.
    const QString now = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd"));
    QVERIFY(MTestDatabase::value(QStringLiteral("SELECT time_modify") + where).toString().startsWith(now));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT time_create") + where).toString().startsWith(now), id == 0);
}

void TestEndTextDlg::pastedRichTextIsStoredPlain()
{
    openDialog(0);
    auto* mime = new QMimeData();
    mime->setHtml(QStringLiteral("<p><b>Gruby</b> tekst</p><p>druga linia</p>"));
    mime->setText(QStringLiteral("Gruby tekst\ndruga linia"));
    QApplication::clipboard()->setMimeData(mime);
    content()->setFocus();
    content()->paste();
    clickButton(QStringLiteral("OK"));

    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT content FROM end_text WHERE id <> 4")).toString(),
             QStringLiteral("Gruby tekst\ndruga linia"));
}

void TestEndTextDlg::cancelWritesNothing()
{
    openDialog(4);
    content()->setPlainText(QStringLiteral("Zmienione"));
    clickButton(QStringLiteral("Anuluj"));
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(m_owner->notices.isEmpty());
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id, content FROM end_text")), QStringList{"4|Dziękujemy"});
}

void TestEndTextDlg::refusedWriteKeepsTheDialogOpen_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("reason");

    QTest::newRow("insert refused") << 0
                                    << "CREATE TRIGGER refuse BEFORE INSERT ON end_text BEGIN SELECT "
                                       "RAISE(ABORT, 'dysk pełny'); END"
                                    << "dysk pełny";
    QTest::newRow("update refused") << 4
                                    << "CREATE TRIGGER refuse BEFORE UPDATE ON end_text BEGIN SELECT "
                                       "RAISE(ABORT, 'baza zablokowana'); END"
                                    << "baza zablokowana";
    QTest::newRow("text deleted while the dialog was open")
        << 4 << "DELETE FROM end_text" << "Tekst końcowy o identyfikatorze 4 nie istnieje już w bazie danych.";
}

void TestEndTextDlg::refusedWriteKeepsTheDialogOpen()
{
    QFETCH(int, id);
    QFETCH(QString, cause);
    QFETCH(QString, reason);
    openDialog(id);
    QVERIFY(MTestDatabase::exec(cause));
    const QStringList stored = MTestDatabase::rows(QStringLiteral("SELECT * FROM end_text"));
    content()->setPlainText(QStringLiteral("Wpisany tekst"));
    clickButton(QStringLiteral("OK"));

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QVERIFY2(shown.first().text.contains(reason), qPrintable(shown.first().text));
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(content()->toPlainText(), QStringLiteral("Wpisany tekst"));
    QVERIFY(m_owner->notices.isEmpty());
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT * FROM end_text")), stored);
}

INVOICE_TEST_MAIN(TestEndTextDlg)
#include "tst_endtextdlg.moc"
