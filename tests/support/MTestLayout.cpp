#include "MTestLayout.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>

namespace {

QString nameOf(const QWidget* widget)
{
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        text = button->text();
    const QString name = widget->objectName().isEmpty() ? QString() : QLatin1Char('#') + widget->objectName();
    return QLatin1String(widget->metaObject()->className()) + name
        + (text.isEmpty() ? QString() : QStringLiteral(" \"") + text.left(40) + QLatin1Char('"'));
}

QRect windowRect(const QWidget* widget)
{
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

// The controls a user reads or works with, not the parts they are made of.
bool isControl(const QWidget* widget)
{
    return qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget)
        || qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget)
        || qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QTextEdit*>(widget)
        || qobject_cast<const QAbstractItemView*>(widget);
}

bool isPartOfControl(const QWidget* widget)
{
    for (const QWidget* parent = widget->parentWidget(); parent; parent = parent->parentWidget()) {
        if (isControl(parent) || qobject_cast<const QTabBar*>(parent))
            return true;
    }
    return false;
}

bool textFits(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        if (label->text().isEmpty() || label->text() == QLatin1String("<hr>"))
            return true;
        if (label->wordWrap())
            return label->heightForWidth(label->width()) <= label->height();
        const QSize hint = label->sizeHint();
        return hint.width() <= label->width() && hint.height() <= label->height();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        if (button->text().isEmpty())
            return true;
        const QSize hint = button->sizeHint();
        // Push buttons of a fixed size are drawn with their text centred and may give up
        // their frame's margins; the text itself must fit.
        const int textWidth = button->fontMetrics().horizontalAdvance(button->text())
            + (button->icon().isNull() ? 0 : button->iconSize().width() + 4);
        return qobject_cast<const QTabBar*>(button->parentWidget())
            || (hint.width() <= button->width() || textWidth + 8 <= button->width());
    }
    return true;
}

// Where a label's text is drawn: its left-aligned size hint within the label.
QRect textRect(const QLabel* label)
{
    const QRect rect = windowRect(label);
    if (label->alignment() & (Qt::AlignRight | Qt::AlignHCenter))
        return rect;
    return QRect(rect.topLeft(), QSize(qMin(label->sizeHint().width(), rect.width()), rect.height()));
}

// Two texts side by side with less room between them than a word space run into each other.
bool textsTouch(const QWidget* first, const QWidget* second)
{
    const auto* a = qobject_cast<const QLabel*>(first);
    const auto* b = qobject_cast<const QLabel*>(second);
    if (!a || !b || a->text().isEmpty() || b->text().isEmpty())
        return false;
    const int minimumGap = 4;
    return textRect(a).adjusted(-minimumGap, 0, minimumGap, 0).intersects(textRect(b));
}

} // namespace

QList<QWidget*> MTestLayout::tabChain(QWidget* root)
{
    QList<QWidget*> chain;
    for (QWidget* widget = root->nextInFocusChain(); widget != root; widget = widget->nextInFocusChain()) {
        if (root->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled()
            && widget->isVisible() && !widget->focusProxy() && !qobject_cast<QTabBar*>(widget)
            && !chain.contains(widget))
            chain.append(widget);
    }
    return chain;
}

QStringList MTestLayout::tabStepsAgainstReadingOrder(QWidget* root)
{
    QStringList steps;
    QList<QWidget*> chain = tabChain(root);
    // Tab goes round: the round starts at the field that comes first on the page.
    const auto first = std::min_element(chain.begin(), chain.end(), [](const QWidget* a, const QWidget* b) {
        const QRect ra = windowRect(a);
        const QRect rb = windowRect(b);
        return ra.top() != rb.top() ? ra.top() < rb.top() : ra.left() < rb.left();
    });
    std::rotate(chain.begin(), first, chain.end());
    for (int i = 1; i < chain.size(); ++i) {
        const QRect from = windowRect(chain.at(i - 1));
        const QRect to = windowRect(chain.at(i));
        const bool sameRow = from.top() < to.bottom() && to.top() < from.bottom();
        const bool forward = sameRow ? to.left() >= from.right() : to.top() >= from.bottom();
        if (!forward)
            steps << nameOf(chain.at(i - 1)) + QStringLiteral(" -> ") + nameOf(chain.at(i));
    }
    return steps;
}

QStringList MTestLayout::clippedOrOverlapping(QWidget* root)
{
    QStringList problems;
    QList<QWidget*> controls;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (widget->isVisible() && isControl(widget) && !isPartOfControl(widget))
            controls.append(widget);
    }
    for (int i = 0; i < controls.size(); ++i) {
        QWidget* widget = controls.at(i);
        if (!textFits(widget))
            problems << QStringLiteral("clipped: %1 (%2x%3 for %4x%5)")
                            .arg(nameOf(widget))
                            .arg(widget->width())
                            .arg(widget->height())
                            .arg(widget->sizeHint().width())
                            .arg(widget->sizeHint().height());
        for (int j = i + 1; j < controls.size(); ++j) {
            QWidget* other = controls.at(j);
            if (widget->isAncestorOf(other) || other->isAncestorOf(widget))
                continue;
            if (windowRect(widget).intersects(windowRect(other)))
                problems << QStringLiteral("overlap: %1 / %2").arg(nameOf(widget), nameOf(other));
            else if (textsTouch(widget, other))
                problems << QStringLiteral("touching: %1 / %2").arg(nameOf(widget), nameOf(other));
        }
    }
    return problems;
}
