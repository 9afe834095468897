#include "MMessageBox.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QQueue>
#include <QSpacerItem>

#include <memory>

namespace {

struct Seam
{
    bool automatic = false;
    QQueue<QMessageBox::StandardButton> answers;
    QList<MMessageBox::Shown> shown;
};

Seam& seam()
{
    static Seam instance;
    return instance;
}

QMessageBox::StandardButton firstButton(QMessageBox::StandardButtons buttons)
{
    for (uint bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1) {
        if (buttons & bit)
            return QMessageBox::StandardButton(bit);
    }
    return QMessageBox::NoButton;
}

} // namespace

QMessageBox::StandardButton MMessageBox::critical(QWidget* parent, const QString& title, const QString& text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    return show(QMessageBox::Critical, parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton MMessageBox::warning(QWidget* parent, const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    return show(QMessageBox::Warning, parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton MMessageBox::information(QWidget* parent, const QString& title, const QString& text,
                                                     QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton)
{
    return show(QMessageBox::Information, parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton MMessageBox::question(QWidget* parent, const QString& title, const QString& text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    return show(QMessageBox::Question, parent, title, text, buttons, defaultButton);
}

void MMessageBox::show(QWidget* parent, const MDataMessage& message)
{
    switch (message.kind) {
    case MDataMessage::Kind::None:
        break;
    case MDataMessage::Kind::Information:
        information(parent, message.title, message.text);
        break;
    case MDataMessage::Kind::Warning:
        warning(parent, message.title, message.text);
        break;
    case MDataMessage::Kind::Critical:
        critical(parent, message.title, message.text);
        break;
    }
}

void MMessageBox::setAutomatic(bool automatic)
{
    seam().automatic = automatic;
}

bool MMessageBox::isAutomatic()
{
    return seam().automatic;
}

void MMessageBox::setNextAnswer(QMessageBox::StandardButton answer)
{
    seam().answers.enqueue(answer);
}

QList<MMessageBox::Shown> MMessageBox::takeShown()
{
    return std::exchange(seam().shown, {});
}

QMessageBox::StandardButton MMessageBox::show(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                              const QString& text, QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton)
{
    Seam& s = seam();
    if (s.automatic) {
        s.shown.append({icon, title, text});
        if (!s.answers.isEmpty())
            return s.answers.dequeue();
        return defaultButton != QMessageBox::NoButton ? defaultButton : firstButton(buttons);
    }

    const std::unique_ptr<QMessageBox> box(createBox(icon, parent, title, text, buttons, defaultButton));
    return QMessageBox::StandardButton(box->exec());
}

QMessageBox* MMessageBox::createBox(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                    const QString& text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton)
{
    QWidget* owner = parent && parent->window()->isVisible() ? parent : nullptr;
    auto* box = new QMessageBox(icon, title, text, buttons, owner);
    box->setDefaultButton(defaultButton);

    // The title bar is drawn by the window manager, which cuts a title wider than the
    // box. Room for the bold title, the window icon and the title bar's buttons.
    QFont titleFont = box->font();
    titleFont.setBold(true);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(title) + 160;
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0,
                      1, grid->columnCount());
    return box;
}
