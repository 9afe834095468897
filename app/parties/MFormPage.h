#pragma once

#include <QList>
#include <QString>

class QGridLayout;
class QLabel;
class QWidget;

// Lays out one form page of a record dialog: every field under its bold label, both
// aligned left and top, 1 pixel between a label and its field and 5 pixels before the
// next label; two fields side by side in a grid of their own with a gap column; the
// page's grid has margin 5, spacing 0, a stretching first column and a last row that
// takes the rest of the height, so that the fields stay at the top left.
class MFormPage
{
public:
    explicit MFormPage(QWidget* page);

    static QLabel* boldLabel(const QString& text, QWidget* parent = nullptr);

    // A field with its label; a width above 0 fixes the field's width.
    void addField(const QString& label, QWidget* field, int width = 0);
    struct Field
    {
        QString label;
        QWidget* widget;
        int width;
    };

    // Labelled fields side by side on one line, `gap` pixels apart.
    void addFields(const QList<Field>& fields, int gap = 10);
    // Two labelled fields side by side, `gap` pixels apart.
    void addFieldPair(const QString& label1, QWidget* field1, int width1, const QString& label2,
                      QWidget* field2, int width2, int gap = 10);
    // A widget without a label (a rule, a check box, a nested tab widget).
    void addWidget(QWidget* widget, int width = 0);

    // The height of the gap before the next item, 5 unless set otherwise.
    void setNextGap(int height);

    // Adds the stretching last row; call once, after the last item.
    void finish();

private:
    static void alignLabelTexts(const QList<QLabel*>& labels);
    void startItem();
    int takeRow();

    QGridLayout* m_layout = nullptr;
    int m_row = 0;
    int m_nextGap = 0;
};
