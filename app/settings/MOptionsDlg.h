#pragma once

#include <QDialog>
#include <QMap>
#include <QString>
#include <QStringList>

class MOptionsWidget;
class MSelectListModel;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QListView;
class QPushButton;
class QSize;
class QTextEdit;

// "Opcje": the options of the options store, the visibility of VAT rates and
// payment forms and the payment forms that mark a document as paid, on
// thirteen pages; nothing is written before "OK".
class MOptionsDlg : public QDialog
{
    Q_OBJECT

public:
    explicit MOptionsDlg(QWidget* parent = nullptr, Qt::WindowFlags f = Qt::WindowFlags());
    ~MOptionsDlg() override;

    // Builds page `id` (1 to 13) from the current values and adds it under its title.
    void addPage(int id);

public slots:
    // Writes every page back, refreshes the main window and closes.
    void clickOk(bool b);
    void clickCancel(bool b);
    // Inverts the marks of the VAT rate list; stores nothing.
    void clickVatNegative(bool b);

private:
    // How a control shows its option and turns back into text.
    enum class Kind
    {
        CheckBox,
        NumberedCombo,
        RadioPair,
        LineEdit,
        TextEdit,
    };

    struct Control
    {
        Kind kind;
        QWidget* widget;
        QButtonGroup* group;
    };

    // ---- Pages (MOptionsDlgPages.cpp) ----
    QWidget* pageChanges();
    QWidget* pageLook();
    QWidget* pagePrint();
    QWidget* pageVat();
    QWidget* pagePrices();
    QWidget* pageOptimisation();
    QWidget* pagePayments();
    QWidget* pageSeller();
    QWidget* pageBuyer();
    QWidget* pageEmail();
    QWidget* pageTips();
    QWidget* pageQrCodes();
    QWidget* pageEmailTemplates();

    // ---- Controls, each shown from its option by the rule of its kind ----
    QCheckBox* checkBox(const QString& key);
    QComboBox* numberedCombo(const QString& key, const QStringList& items);
    QWidget* radioPair(const QString& key, const QString& first, const QString& second);
    QLineEdit* lineEdit(const QString& key);
    QTextEdit* textEdit(const QString& key);
    // A check list over `model`, which the dialog owns.
    QListView* checkList(MSelectListModel* model, const QSize& size, const QString& name);
    // Check-list rows from `sql` (text, id, flag); a row is checked when its flag is not `uncheckedFlag`.
    MSelectListModel* tableList(const QString& sql, int uncheckedFlag);
    // The rows of a party's field list, each checked when its option holds "1".
    MSelectListModel* fieldList(const QString& prefix, const QString& firstText);
    void selectDefaultVat();
    void selectSmtpPort();
    void selectDoYouKnowSpeed();

    // ---- Storing (MOptionsDlgStore.cpp) ----
    void storeControls(const QStringList& keys);
    void storeDefaultVat();
    // One UPDATE per row: `column` = checkedValue for a checked row, the other flag for an unchecked one.
    static void updateFromList(const MSelectListModel* model, const QString& table, const QString& column,
                               int checkedValue);
    static void storeFieldList(const MSelectListModel* model);
    void storePassword();

    MOptionsWidget* m_optionsWidget = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;

    QMap<QString, Control> m_controls;
    QList<QButtonGroup*> m_radioGroups;

    MSelectListModel* m_vatList = nullptr;
    MSelectListModel* m_payFormList = nullptr;
    MSelectListModel* m_payedTextList = nullptr;
    MSelectListModel* m_sellerFieldList = nullptr;
    MSelectListModel* m_buyerFieldList = nullptr;
    QComboBox* m_defaultVat = nullptr;
    QComboBox* m_smtpPort = nullptr;
    QLineEdit* m_password = nullptr;
    QComboBox* m_doYouKnowSpeed = nullptr;
};
