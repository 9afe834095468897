#pragma once

#include <QDialog>
#include <QTimer>

class MDocTemplate;
class QLabel;

// The modal progress box of a template run or a batch of runs. "Zatrzymaj" sets
// the watched template's aborted flag and ends the box with 0; the job it watches
// ends it with accept(). Escape and the close button end it with 0 and touch no flag.
class MGenerateDlg : public QDialog
{
    Q_OBJECT

public:
    explicit MGenerateDlg(QWidget* parent = nullptr, Qt::WindowFlags f = Qt::WindowFlags());

    // Shows the (rich) text at once, even while the GUI thread is busy with a run.
    void setText(QString text);
    // Shows `message` followed by the number of the page a run has reached: "... 3.".
    void setPageText(const QString& message, int page);
    // The page a running job has reached, shown only when above the page shown,
    // so that the number never falls.
    void showPage(int page);

    // Stops `timer` and leaves `slot` of `owner` no longer connected to it.
    template <class Owner>
    static void disarmTimer(QTimer* timer, Owner* owner, void (Owner::*slot)())
    {
        QObject::disconnect(timer, &QTimer::timeout, owner, slot);
        timer->stop();
    }

    // Starts `timer` on `slot` of `owner` alone: an earlier connection of the
    // slot is dropped first, so that the slot never runs twice a tick.
    template <class Owner>
    static void armTimer(QTimer* timer, Owner* owner, void (Owner::*slot)(), int msec)
    {
        disarmTimer(timer, owner, slot);
        QObject::connect(timer, &QTimer::timeout, owner, slot);
        timer->start(msec);
    }

    // One tick of the job the box watches: while it is `running`, shows the
    // `page` it reached and waits a second more; once it is over, stops the
    // timer, leaves no slot connected to it and closes the box.
    template <class Owner>
    void tick(QTimer* timer, Owner* owner, void (Owner::*slot)(), bool running, int page)
    {
        if (running) {
            showPage(page);
            armTimer(timer, owner, slot, 1000);
            return;
        }
        disarmTimer(timer, owner, slot);
        accept();
    }
    // The template whose run the button stops; none for a batch.
    void setDocTemplate(MDocTemplate* docTemplate);

private slots:
    void clickStop(bool checked);

private:
    QLabel* m_label = nullptr;
    MDocTemplate* m_docTemplate = nullptr;
    QString m_pageMessage;
    int m_pageShown = 0;
};
