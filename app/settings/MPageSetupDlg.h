#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;

// "Ustawienia strony": the page margins of every printed document and the
// address window of a window envelope, each with a drawn A4 sheet.
class MPageSetupDlg : public QDialog
{
    Q_OBJECT

public:
    // The parent is the main window, whose margins are shown and reloaded after OK.
    explicit MPageSetupDlg(QWidget* parent = nullptr, Qt::WindowFlags f = Qt::WindowFlags());

    // Builds tab 1 "Marginesy" or tab 2 "Okienko".
    void createTab(int tab);
    void drawMargins();
    void drawEnvelopeWindow();

private slots:
    void clickOk(bool b);
    void clickCancel(bool b);
    void doMarginChanged(int i);
    void doEnvelopeWindowChanged(int i);

private:
    QSpinBox* createSpinBox(int minimum, int maximum, int value, const char* objectName);

    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QLabel* m_marginsPreview = nullptr;
    QLabel* m_envelopePreview = nullptr;
    QSpinBox* m_envelopeHeight = nullptr;
    QSpinBox* m_envelopeLeft = nullptr;
    QSpinBox* m_envelopeRight = nullptr;
    QSpinBox* m_envelopeTop = nullptr;
    QSpinBox* m_marginBottom = nullptr;
    QSpinBox* m_marginLeft = nullptr;
    QSpinBox* m_marginRight = nullptr;
    QSpinBox* m_marginTop = nullptr;
    QTabWidget* m_tabs = nullptr;
};
