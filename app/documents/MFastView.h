#pragma once

#include <QString>
#include <QWidget>

class QTextEdit;
class QTimer;

// The side pane "Szybki podgląd" of the document lists: once a second it reads the
// selection of its owner's table and shows a summary of the selected documents.
class MFastView : public QWidget
{
    Q_OBJECT

public:
    explicit MFastView(QWidget* parent);
    ~MFastView() override;

    QString html() const;

public slots:
    void initWidget();
    // Forgets the last selection so that the next poll rebuilds the summary.
    void reloadView();

private slots:
    void doTimeoutRefreshTimer();

private:
    void restartRefreshTimer();

    QTextEdit* m_pane = nullptr;
    int m_count = 0;
    QString m_ids;
    QString m_previousIds;
    QTimer* m_refreshTimer = nullptr;
    QWidget* const m_owner;
};
