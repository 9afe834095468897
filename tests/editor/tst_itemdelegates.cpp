#include "MTestEnvironment.h"
#include "editor/MInvoiceJoinItemDelegate.h"
#include "editor/MInvoiceProductItemDelegate.h"

#include <QHelpEvent>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolTip>
#include <QtTest>

namespace {

// A line as the editor's line list shows it: columns 2 to 16 in their display texts.
struct Line {
    QString name = QStringLiteral("Śruba M8");
    QString symbol;
    QString code;
    QString unit = QStringLiteral("szt.");
    QString priceBase = QStringLiteral("netto");
    QString unitNetto = QStringLiteral("10,00");
    QString unitBrutto = QStringLiteral("12,30");
    QString netto = QStringLiteral("20,00");
    QString brutto = QStringLiteral("24,60");
    QString vat = QStringLiteral("23%");
    QString amount = QStringLiteral("2,0000");
    QString reduct = QStringLiteral("0,00");
    QString currency = QStringLiteral("PLN");
    QString profit = QStringLiteral("0,00");
    QString reductKind = QStringLiteral("procentowy");
};

void fillRow(QStandardItemModel* model, int row, const QStringList& columns)
{
    for (int c = 0; c < columns.size(); ++c)
        model->setData(model->index(row, c + 2), columns.at(c));
}

QStringList lineColumns(const Line& l)
{
    return {l.name,      l.symbol, l.code, l.unit,     l.priceBase, l.unitNetto, l.unitBrutto, l.netto,
            l.brutto,    l.vat,    l.amount, l.reduct, l.currency,  l.profit,    l.reductKind};
}

// The label and value cells of a tooltip table, as "label=value".
QStringList toolTipRows(const QString& html)
{
    QStringList rows;
    static const QRegularExpression cell(QStringLiteral("<tr><td>(.*?)</td><td>(.*?)</td></tr>"));
    auto it = cell.globalMatch(html);
    while (it.hasNext()) {
        const auto match = it.next();
        rows << match.captured(1) + QLatin1Char('=') + match.captured(2);
    }
    return rows;
}

QString askToolTip(QAbstractItemDelegate* delegate, QTableView* view, const QModelIndex& index)
{
    QToolTip::hideText();
    QHelpEvent event(QEvent::ToolTip, QPoint(5, 5), view->mapToGlobal(QPoint(5, 5)));
    QStyleOptionViewItem option;
    option.rect = view->visualRect(index);
    if (!delegate->helpEvent(&event, view, option, index))
        return QStringLiteral("<not handled>");
    return QToolTip::text();
}

bool hasColour(const QImage& image, const QColor& colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

} // namespace

class TestItemDelegates : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void lineToolTip_data();
    void lineToolTip();
    void joinToolTip_data();
    void joinToolTip();
    void otherHelpEventGoesToBase();
    void rowHeights();
    void textColourFollowsSelection_data();
    void textColourFollowsSelection();

private:
    QStandardItemModel m_model{1, 17};
    QTableView m_view;
};

void TestItemDelegates::initTestCase()
{
    // Amounts are shown as the program shows them, in the Polish locale.
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
}

void TestItemDelegates::init()
{
    m_model.clear();
    m_model.setRowCount(1);
    m_model.setColumnCount(17);
    m_view.setModel(&m_model);
    m_view.resize(520, 200);
    m_view.show();
}

void TestItemDelegates::lineToolTip_data()
{
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QStringList>("rows");

    const QStringList plain{QStringLiteral("Nazwa=Śruba M8"),        QStringLiteral("Waluta=PLN"),
                            QStringLiteral("Ilość=2 szt."),           QStringLiteral("Podstawa cenowa=netto"),
                            QStringLiteral("Stawka VAT=23%"),         QStringLiteral("Jednostkowe netto | brutto=10,00 | 12,30"),
                            QStringLiteral("Wartość netto | brutto=20,00 | 24,60")};
    QTest::newRow("no symbol, code, discount or margin") << QStringList() << plain;

    QStringList half = plain;
    half[2] = QStringLiteral("Ilość=1,5 szt.");
    QTest::newRow("quantity 1,5") << QStringList{QStringLiteral("amount=1,5000")} << half;
    QStringList big = plain;
    big[2] = QStringLiteral("Ilość=1 234,125 szt.");
    QTest::newRow("quantity 1 234,125") << QStringList{QStringLiteral("amount=1234,1250")} << big;

    QStringList full = plain;
    full.insert(1, QStringLiteral("Symbol=SR-8"));
    full.insert(2, QStringLiteral("PKWiU/PKOB=25.94.11"));
    full.insert(8, QStringLiteral("Rabat=procentowy 10,00"));
    full.insert(9, QStringLiteral("Marża brutto=4,30"));
    QTest::newRow("every row") << QStringList{QStringLiteral("symbol=SR-8"), QStringLiteral("code=25.94.11"),
                                              QStringLiteral("reduct=10,00"), QStringLiteral("profit=4,30")}
                               << full;

    QStringList amountDiscount = plain;
    amountDiscount.insert(6, QStringLiteral("Rabat=kwotowy 0,50"));
    QTest::newRow("amount discount") << QStringList{QStringLiteral("reduct=0,50"), QStringLiteral("kind=kwotowy")}
                                     << amountDiscount;
}

void TestItemDelegates::lineToolTip()
{
    QFETCH(QStringList, changes);
    QFETCH(QStringList, rows);

    Line line;
    for (const QString& change : changes) {
        const QString key = change.section(QLatin1Char('='), 0, 0);
        const QString value = change.section(QLatin1Char('='), 1);
        if (key == QLatin1String("amount"))
            line.amount = value;
        else if (key == QLatin1String("symbol"))
            line.symbol = value;
        else if (key == QLatin1String("code"))
            line.code = value;
        else if (key == QLatin1String("reduct"))
            line.reduct = value;
        else if (key == QLatin1String("profit"))
            line.profit = value;
        else if (key == QLatin1String("kind"))
            line.reductKind = value;
    }
    fillRow(&m_model, 0, lineColumns(line));
    auto* delegate = new MInvoiceProductItemDelegate(&m_view);
    m_view.setItemDelegateForColumn(2, delegate);

    const QString html = askToolTip(delegate, &m_view, m_model.index(0, 2));
    QVERIFY2(html.startsWith(QLatin1String("<table border=\"0\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">")),
             qPrintable(html));
    QVERIFY(html.endsWith(QLatin1String("</table>")));
    QCOMPARE(toolTipRows(html), rows);
}

void TestItemDelegates::joinToolTip_data()
{
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("advance paid") << QStringList{QStringLiteral("FZ 3/2024"), QStringLiteral("2024-03-10"),
                                                 QStringLiteral("500,00"), QStringLiteral("1230,00"),
                                                 QStringLiteral("EUR")}
                                  << QStringList{QStringLiteral("Numer=FZ 3/2024"),
                                                 QStringLiteral("Data wystawienia=2024-03-10"),
                                                 QStringLiteral("Zaliczka brutto=500,00 EUR"),
                                                 QStringLiteral("Wartość brutto=1230,00 EUR")};
    QTest::newRow("no advance") << QStringList{QStringLiteral("FZ 4/2024"), QStringLiteral("2024-04-01"), QString(),
                                               QStringLiteral("99,5"), QStringLiteral("PLN")}
                                << QStringList{QStringLiteral("Numer=FZ 4/2024"),
                                               QStringLiteral("Data wystawienia=2024-04-01"),
                                               QStringLiteral("Zaliczka brutto=0,00 PLN"),
                                               QStringLiteral("Wartość brutto=99,50 PLN")};
}

void TestItemDelegates::joinToolTip()
{
    QFETCH(QStringList, columns);
    QFETCH(QStringList, rows);

    fillRow(&m_model, 0, columns);
    auto* delegate = new MInvoiceJoinItemDelegate(&m_view);
    m_view.setItemDelegateForColumn(2, delegate);
    QCOMPARE(toolTipRows(askToolTip(delegate, &m_view, m_model.index(0, 2))), rows);
}

void TestItemDelegates::otherHelpEventGoesToBase()
{
    fillRow(&m_model, 0, lineColumns(Line()));
    MInvoiceProductItemDelegate line(&m_view);
    MInvoiceJoinItemDelegate join(&m_view);
    for (QAbstractItemDelegate* delegate : {static_cast<QAbstractItemDelegate*>(&line),
                                            static_cast<QAbstractItemDelegate*>(&join)}) {
        const QString before = QStringLiteral("shown before");
        QToolTip::showText(m_view.mapToGlobal(QPoint(5, 5)), before, &m_view);
        QHelpEvent whatsThis(QEvent::QueryWhatsThis, QPoint(5, 5), m_view.mapToGlobal(QPoint(5, 5)));
        QVERIFY(!delegate->helpEvent(&whatsThis, &m_view, QStyleOptionViewItem(), m_model.index(0, 2)));
        QCOMPARE(QToolTip::text(), before);
        QHelpEvent toolTip(QEvent::ToolTip, QPoint(5, 5), m_view.mapToGlobal(QPoint(5, 5)));
        QVERIFY(!delegate->helpEvent(&toolTip, nullptr, QStyleOptionViewItem(), m_model.index(0, 2)));
        QVERIFY(!delegate->helpEvent(nullptr, &m_view, QStyleOptionViewItem(), m_model.index(0, 2)));
    }
}

void TestItemDelegates::rowHeights()
{
    fillRow(&m_model, 0, lineColumns(Line()));
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 500, 10);
    const QModelIndex index = m_model.index(0, 2);
    QCOMPARE(MInvoiceProductItemDelegate().sizeHint(option, index).height(), 42);
    QCOMPARE(MInvoiceJoinItemDelegate().sizeHint(option, index).height(), 22);
}

void TestItemDelegates::textColourFollowsSelection_data()
{
    QTest::addColumn<bool>("join");
    QTest::addColumn<bool>("selected");

    QTest::newRow("line, selected") << false << true;
    QTest::newRow("line, not selected") << false << false;
    QTest::newRow("join, selected") << true << true;
    QTest::newRow("join, not selected") << true << false;
}

void TestItemDelegates::textColourFollowsSelection()
{
    QFETCH(bool, join);
    QFETCH(bool, selected);

    if (join)
        fillRow(&m_model, 0, {QStringLiteral("FZ 3/2024"), QStringLiteral("2024-03-10"), QStringLiteral("500,00"),
                              QStringLiteral("1230,00"), QStringLiteral("EUR")});
    else
        fillRow(&m_model, 0, lineColumns(Line()));
    MInvoiceProductItemDelegate lineDelegate;
    MInvoiceJoinItemDelegate joinDelegate;
    QAbstractItemDelegate* delegate =
        join ? static_cast<QAbstractItemDelegate*>(&joinDelegate) : static_cast<QAbstractItemDelegate*>(&lineDelegate);

    const QColor text(0, 128, 0);
    const QColor highlightedText(255, 0, 0);
    const QColor separator(224, 224, 224);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 500, join ? 22 : 42);
    option.state = QStyle::State_Enabled | (selected ? QStyle::State_Selected : QStyle::State_None);
    option.palette.setColor(QPalette::Base, Qt::white);
    option.palette.setColor(QPalette::Window, Qt::white);
    option.palette.setColor(QPalette::Highlight, QColor(0, 0, 255));
    option.palette.setColor(QPalette::Text, text);
    option.palette.setColor(QPalette::HighlightedText, highlightedText);
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;

    QImage image(option.rect.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        QFont font = painter.font();
        font.setStyleStrategy(QFont::NoAntialias);
        font.setPixelSize(12);
        painter.setFont(font);
        delegate->paint(&painter, option, m_model.index(0, 2));
    }
    QCOMPARE(hasColour(image, highlightedText), selected);
    QCOMPARE(hasColour(image, text), !selected);
    QVERIFY(hasColour(image, separator));
}

INVOICE_TEST_MAIN(TestItemDelegates)
#include "tst_itemdelegates.moc"
