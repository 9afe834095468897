#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "printing/MDocPreviewDlg.h"
#include "printing/MDocPrintDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QtTest>

namespace {

// Stands for the document list that opens a chooser and runs the chosen job.
class MChooserParent : public QWidget
{
    Q_OBJECT

public:
    struct Call
    {
        QString job;
        int docView;
        bool chooserVisible;
    };
    QList<Call> calls;
    QWidget* chooser = nullptr;

    Q_INVOKABLE void startDocPreview(int iDocView) { record(QStringLiteral("preview"), iDocView); }
    Q_INVOKABLE void startDocPrint(int iDocView) { record(QStringLiteral("print"), iDocView); }
    Q_INVOKABLE void startDocPrintPdf(int iDocView) { record(QStringLiteral("pdf"), iDocView); }

private:
    void record(const QString& job, int docView) { calls.append({job, docView, chooser && chooser->isVisible()}); }
};

enum Chooser { Preview, Print, Pdf, Mail };

QDialog* createChooser(Chooser kind, QWidget* parent)
{
    if (kind == Preview)
        return new MDocPreviewDlg(parent);
    auto* dlg = new MDocPrintDlg(parent);
    if (kind == Pdf || kind == Mail)
        dlg->setPdfMode(true);
    if (kind == Mail)
        dlg->setSendMailMode(true);
    return dlg;
}

QListView* markingList(QDialog* dlg)
{
    return dlg->findChild<QListView*>();
}

QPushButton* button(QDialog* dlg, const QString& text)
{
    const auto buttons = dlg->findChildren<QPushButton*>();
    for (QPushButton* candidate : buttons) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

QStringList itemTexts(QDialog* dlg)
{
    QStringList texts;
    QAbstractItemModel* model = markingList(dlg)->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts.append(model->index(row, 0).data().toString());
    return texts;
}

QModelIndex itemWithText(QDialog* dlg, const QString& text)
{
    QAbstractItemModel* model = markingList(dlg)->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 0).data().toString() == text)
            return model->index(row, 0);
    }
    return QModelIndex();
}

} // namespace

Q_DECLARE_METATYPE(Chooser)

// The choosers of a document marking: what they offer and what a choice stores and starts.
class TestDocViewChoosers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void offersMarkings_data();
    void offersMarkings();
    void choiceStoresOptionsAndStartsJob_data();
    void choiceStoresOptionsAndStartsJob();
    void cancelStoresNothing_data();
    void cancelStoresNothing();

private:
    MTestDatabase m_db;
};

void TestDocViewChoosers::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
}

void TestDocViewChoosers::init()
{
    MOptions::setOption(QStringLiteral("SELLER_SHOW_PERSON_ON_DOCUMENT_PRINT"), QStringLiteral("7"));
    MOptions::setOption(QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT_PRINT"), QStringLiteral("7"));
}

void TestDocViewChoosers::offersMarkings_data()
{
    QTest::addColumn<Chooser>("chooser");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("texts");

    const QString none = QStringLiteral("Bez opisu");
    QTest::newRow("preview, off") << Preview << QStringLiteral("0") << QStringList{none};
    QTest::newRow("print, off") << Print << QStringLiteral("0") << QStringList{none, QStringLiteral("Bez opisu x2")};
    QTest::newRow("pdf, off") << Pdf << QStringLiteral("0") << QStringList{none};
    QTest::newRow("mail, off") << Mail << QStringLiteral("0") << QStringList{none};
    QTest::newRow("print, not a number") << Print << QStringLiteral("tak")
                                         << QStringList{none, QStringLiteral("Bez opisu x2")};
    QTest::newRow("preview, on") << Preview << QStringLiteral("1")
                                 << QStringList{none, QStringLiteral("Oryginał"), QStringLiteral("Kopia"),
                                                QStringLiteral("Oryginał / Kopia")};
    QTest::newRow("print, on") << Print << QStringLiteral("1")
                               << QStringList{none,
                                              QStringLiteral("Bez opisu x2"),
                                              QStringLiteral("Oryginał"),
                                              QStringLiteral("Kopia"),
                                              QStringLiteral("Oryginał i Kopia"),
                                              QStringLiteral("Oryginał / Kopia")};
    QTest::newRow("pdf, on") << Pdf << QStringLiteral("2")
                             << QStringList{none, QStringLiteral("Oryginał"), QStringLiteral("Kopia"),
                                            QStringLiteral("Oryginał i Kopia"), QStringLiteral("Oryginał / Kopia")};
    QTest::newRow("mail, on") << Mail << QStringLiteral("1")
                              << QStringList{none, QStringLiteral("Oryginał"), QStringLiteral("Kopia"),
                                             QStringLiteral("Oryginał / Kopia")};
}

void TestDocViewChoosers::offersMarkings()
{
    QFETCH(Chooser, chooser);
    QFETCH(QString, option);
    QFETCH(QStringList, texts);

    MOptions::setOption(QStringLiteral("SHOW_VIEW_ORIGINAL_COPY"), option);
    MChooserParent parent;
    QScopedPointer<QDialog> dlg(createChooser(chooser, &parent));
    QCOMPARE(itemTexts(dlg.data()), texts);
    // Each item carries its marking, the one its text names.
    const QStringList names{QStringLiteral("Bez opisu"), QStringLiteral("Oryginał"), QStringLiteral("Kopia"),
                            QStringLiteral("Oryginał i Kopia"), QStringLiteral("Oryginał / Kopia"),
                            QStringLiteral("Bez opisu x2")};
    for (const QString& text : texts)
        QCOMPARE(itemWithText(dlg.data(), text).data(Qt::UserRole + 1).toInt(), names.indexOf(text));
    dlg->show();
    const bool envelopeShown = dlg->findChild<QComboBox*>() && dlg->findChild<QComboBox*>()->isVisible();
    QCOMPARE(envelopeShown, chooser == Print);
}

void TestDocViewChoosers::choiceStoresOptionsAndStartsJob_data()
{
    QTest::addColumn<Chooser>("chooser");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("personOption");
    QTest::addColumn<QString>("job");
    QTest::addColumn<int>("docView");
    QTest::addColumn<QString>("personPrint");
    QTest::addColumn<QString>("envelopePrint");

    QTest::newRow("preview by OK") << Preview << false << QStringLiteral("Kopia") << QStringLiteral("1")
                                   << QStringLiteral("preview") << 2 << QStringLiteral("1") << QStringLiteral("7");
    QTest::newRow("preview by double click") << Preview << true << QStringLiteral("Oryginał / Kopia")
                                             << QStringLiteral("0") << QStringLiteral("preview") << 4
                                             << QStringLiteral("0") << QStringLiteral("7");
    QTest::newRow("print by double click") << Print << true << QStringLiteral("Bez opisu x2") << QStringLiteral("1")
                                           << QStringLiteral("print") << 5 << QStringLiteral("1")
                                           << QStringLiteral("2");
    QTest::newRow("print by OK") << Print << false << QStringLiteral("Oryginał i Kopia") << QStringLiteral("")
                                 << QStringLiteral("print") << 3 << QStringLiteral("0") << QStringLiteral("2");
    QTest::newRow("pdf") << Pdf << false << QStringLiteral("Oryginał i Kopia") << QStringLiteral("1")
                         << QStringLiteral("pdf") << 3 << QStringLiteral("1") << QStringLiteral("7");
    QTest::newRow("mail by double click") << Mail << true << QStringLiteral("Oryginał") << QStringLiteral("0")
                                          << QStringLiteral("pdf") << 1 << QStringLiteral("0")
                                          << QStringLiteral("7");
}

void TestDocViewChoosers::choiceStoresOptionsAndStartsJob()
{
    QFETCH(Chooser, chooser);
    QFETCH(bool, doubleClick);
    QFETCH(QString, item);
    QFETCH(QString, personOption);
    QFETCH(QString, job);
    QFETCH(int, docView);
    QFETCH(QString, personPrint);
    QFETCH(QString, envelopePrint);

    MOptions::setOption(QStringLiteral("SHOW_VIEW_ORIGINAL_COPY"), QStringLiteral("1"));
    MOptions::setOption(QStringLiteral("SELLER_SHOW_PERSON_ON_DOCUMENT"), personOption);
    MOptions::setOption(QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT"), QStringLiteral("2"));
    MChooserParent parent;
    QDialog* dlg = createChooser(chooser, &parent);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QDialog> watched(dlg);
    parent.chooser = dlg;
    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg));

    QListView* list = markingList(dlg);
    const QModelIndex index = itemWithText(dlg, item);
    QVERIFY(index.isValid());
    QPushButton* ok = button(dlg, QStringLiteral("OK"));
    QVERIFY(!ok->isEnabled());
    if (doubleClick) {
        const QPoint centre = list->visualRect(index).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    } else {
        list->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
        QVERIFY(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
    }

    QCOMPARE(parent.calls.size(), 1);
    QCOMPARE(parent.calls.at(0).job, job);
    QCOMPARE(parent.calls.at(0).docView, docView);
    QVERIFY(parent.calls.at(0).chooserVisible);
    QCOMPARE(m_db.storedOption(QStringLiteral("SELLER_SHOW_PERSON_ON_DOCUMENT_PRINT")), personPrint);
    QCOMPARE(m_db.storedOption(QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT_PRINT")), envelopePrint);
    QTRY_VERIFY(watched.isNull());
}

void TestDocViewChoosers::cancelStoresNothing_data()
{
    QTest::addColumn<Chooser>("chooser");
    QTest::newRow("preview") << Preview;
    QTest::newRow("print") << Print;
    QTest::newRow("pdf") << Pdf;
}

void TestDocViewChoosers::cancelStoresNothing()
{
    QFETCH(Chooser, chooser);

    MChooserParent parent;
    QScopedPointer<QDialog> dlg(createChooser(chooser, &parent));
    dlg->show();
    markingList(dlg.data())->setCurrentIndex(markingList(dlg.data())->model()->index(0, 0));
    QTest::mouseClick(button(dlg.data(), QStringLiteral("Anuluj")), Qt::LeftButton);
    QVERIFY(!dlg->isVisible());
    QCOMPARE(dlg->result(), 0);
    QVERIFY(parent.calls.isEmpty());
    QCOMPARE(m_db.storedOption(QStringLiteral("SELLER_SHOW_PERSON_ON_DOCUMENT_PRINT")), QStringLiteral("7"));
    QCOMPARE(m_db.storedOption(QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT_PRINT")), QStringLiteral("7"));
}

INVOICE_TEST_MAIN(TestDocViewChoosers)
#include "tst_docviewchoosers.moc"
