#pragma once

#include "data/MDataMessage.h"

#include <QList>
#include <QMessageBox>
#include <QString>

// Every message box of the program goes through here, so that tests can
// answer a box in advance and read what the user would have been told.
class MMessageBox
{
public:
    struct Shown
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
    };

    static QMessageBox::StandardButton critical(QWidget* parent, const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton warning(QWidget* parent, const QString& title, const QString& text,
                                               QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                               QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton information(QWidget* parent, const QString& title, const QString& text,
                                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                   QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
                                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

    // The message a piece of data work returned, in a box of its kind with an
    // OK button; nothing for an empty message.
    static void show(QWidget* parent, const MDataMessage& message);

    // Test seam: while automatic, no box is shown; each box takes the next
    // queued answer, or its default button (else its first button) when none is queued.
    static void setAutomatic(bool automatic);
    static bool isAutomatic();
    static void setNextAnswer(QMessageBox::StandardButton answer);
    static QList<Shown> takeShown();

    // The box that is shown when no test answers: wide enough for the title bar to show
    // the whole title, and centred on the screen while its parent's window is not shown
    // yet (at start-up), instead of on that window's place in a corner.
    static QMessageBox* createBox(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                  const QString& text, QMessageBox::StandardButtons buttons,
                                  QMessageBox::StandardButton defaultButton);

private:
    static QMessageBox::StandardButton show(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                            const QString& text, QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton);
};
