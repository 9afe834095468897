#include "MOptionsDlg.h"

#include "data/MOptions.h"
#include "data/MScrambleText.h"
#include "views/MAppServices.h"
#include "views/MItemRoles.h"
#include "views/MSelectListModel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTextEdit>

void MOptionsDlg::clickOk(bool /*b*/)
{
    // Each of these is its own statement, committed at once.
    storeControls({QStringLiteral("TRANSLATE_DATE_SELL_20130101"), QStringLiteral("TRANSLATE_HEADER_INVOICE_20130101"),
                   QStringLiteral("TRANSLATE_HEADER_INVOICE_CORRECT_20130101"),
                   QStringLiteral("TRANSLATE_HEADER_INVOICE_PROFORM_20130101"),
                   QStringLiteral("TRANSLATE_PERMIT_PERSON_IN"), QStringLiteral("TRANSLATE_PERMIT_PERSON_OUT")});
    storeControls({QStringLiteral("SHOW_PRODUCT_CODE_COLUMN"), QStringLiteral("SHOW_PRODUCT_SYMBOL_COLUMN"),
                   QStringLiteral("SHOW_TEXT_FROM_BRUTTO"), QStringLiteral("SHOW_TEXT_PAYED_INSTEAD_OF_TO_PAY"),
                   QStringLiteral("SHOW_REDUCT_COLUMNS"), QStringLiteral("SHOW_REDUCT_COLUMN_NETTO_BRUTTO"),
                   QStringLiteral("SHOW_VAT_RATING_COLUMN"), QStringLiteral("SHOW_PRINT_FOOTER")});
    storeControls({QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT"), QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT_PDF"),
                   QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT_PREVIEW"), QStringLiteral("FONT_SIZE_DIFF"),
                   QStringLiteral("FIT_COLUMN_PKWIU_TO_TEXT"), QStringLiteral("SHOW_VIEW_ORIGINAL_COPY"),
                   QStringLiteral("SHOW_LOGO"), QStringLiteral("PRINT_ORIENTATION_DOCUMENT"),
                   QStringLiteral("SHOW_MONTH_STYLE")});
    storeControls({QStringLiteral("ACTIVE_TABLE_CACHE"), QStringLiteral("DEFAULT_SUMMARY_COUNT"),
                   QStringLiteral("DEFAULT_SUMMARY_CORRECT_COUNT"), QStringLiteral("DEFAULT_PRICE_BASE"),
                   QStringLiteral("DEFAULT_PRICE_REDUCT"), QStringLiteral("SELLER_SHOW_PERSON_ON_DOCUMENT")});
    storeDefaultVat();

    QSqlQuery(QStringLiteral("begin"));
    updateFromList(m_vatList, QStringLiteral("vat"), QStringLiteral("hidden"), 0);
    updateFromList(m_payFormList, QStringLiteral("pay_form"), QStringLiteral("hidden"), 0);
    updateFromList(m_payedTextList, QStringLiteral("pay_form"), QStringLiteral("add_text_payed"), 1);
    storeFieldList(m_sellerFieldList);
    storeFieldList(m_buyerFieldList);
    storeControls({QStringLiteral("EMAIL_SENDER_NAME"), QStringLiteral("EMAIL_SENDER_EMAIL"),
                   QStringLiteral("EMAIL_SMTP_SERVER")});
    MOptions::setOption(QStringLiteral("EMAIL_SMTP_PORT"), m_smtpPort->currentText());
    storeControls({QStringLiteral("EMAIL_LOGIN")});
    storePassword();
    storeControls({QStringLiteral("EMAIL_SENDER_SIGNATURE"), QStringLiteral("EMAIL_CC_EMAIL"),
                   QStringLiteral("EMAIL_PRINT_FOOTER"), QStringLiteral("EMAIL_TEMPLATE_SUBJECT__INVOICE_PDF"),
                   QStringLiteral("EMAIL_TEMPLATE_CONTENT_INVOICE_PDF"), QStringLiteral("SHOW_QR_CODE__PAY_MOBILE"),
                   QStringLiteral("SHOW_DO_YOU_KNOW")});
    MOptions::setOption(QStringLiteral("DO_YOU_KNOW_SPEED"),
                        QString::number(m_doYouKnowSpeed->currentData(Qt::UserRole).toInt()));
    QSqlQuery(QStringLiteral("commit"));

    if (auto* wnd = qobject_cast<MAppServices*>(parentWidget()))
        wnd->applyOptions();
    done(0);
}

void MOptionsDlg::storeControls(const QStringList& keys)
{
    for (const QString& key : keys) {
        const Control control = m_controls.value(key);
        QString text;
        switch (control.kind) {
        case Kind::CheckBox:
            text = static_cast<QCheckBox*>(control.widget)->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
            break;
        case Kind::NumberedCombo:
            text = QString::number(static_cast<QComboBox*>(control.widget)->currentIndex());
            break;
        case Kind::RadioPair:
            text = control.group->checkedId() == 1 ? QStringLiteral("1") : QStringLiteral("0");
            break;
        case Kind::LineEdit:
            text = static_cast<QLineEdit*>(control.widget)->text();
            break;
        case Kind::TextEdit:
            text = static_cast<QTextEdit*>(control.widget)->toPlainText();
            break;
        }
        MOptions::setOption(key, text);
    }
}

void MOptionsDlg::storeDefaultVat()
{
    // The name is the user's choice of a table row, so it is bound, not pasted in.
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT id FROM vat WHERE name = :name"));
    query.bindValue(QStringLiteral(":name"), m_defaultVat->currentText());
    if (query.exec() && query.next())
        MOptions::setOption(QStringLiteral("ID_DEFAULT_VAT"), QString::number(query.value(0).toInt()));
}

void MOptionsDlg::updateFromList(const MSelectListModel* model, const QString& table, const QString& column,
                                 int checkedValue)
{
    QSqlQuery query;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        const int state = index.data(ItemRole::State).toInt();
        int value;
        if (state == CheckItemState::Checked)
            value = checkedValue;
        else if (state == CheckItemState::Unchecked)
            value = 1 - checkedValue;
        else
            continue;
        query.exec(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + column + QStringLiteral(" = ")
                   + QString::number(value) + QStringLiteral(" WHERE id = ")
                   + QString::number(index.data(ItemRole::Value).toInt()));
    }
}

void MOptionsDlg::storeFieldList(const MSelectListModel* model)
{
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        const bool checked = index.data(ItemRole::State).toInt() == CheckItemState::Checked;
        MOptions::setOption(index.data(ItemRole::Value).toString(), checked ? QStringLiteral("1") : QStringLiteral("0"));
    }
}

void MOptionsDlg::storePassword()
{
    // Stored anew only when changed, so the clear text never reaches the options.
    const QString key = QStringLiteral("EMAIL_PASSWORD");
    if (m_password->text() != unscrambleText(MOptions::option(key)))
        MOptions::setOption(key, scrambleText(m_password->text()));
}
