#include "MDefaultRecordDbView.h"

#include "data/MOptions.h"
#include "views/MSqlQueryModel.h"

MDefaultRecordDbView::MDefaultRecordDbView(MAppServices* appWnd, QWidget* parent, const QString& defaultOption)
    : MRecordDbView(appWnd, parent)
    , m_defaultOption(defaultOption)
    // Text that is no number reads as no default record.
    , m_idRecordDefault(MOptions::option(defaultOption).toInt())
{
}

MDefaultRecordDbView::~MDefaultRecordDbView() = default;

void MDefaultRecordDbView::setIdRecordDefault(int id)
{
    m_idRecordDefault = id;
    MOptions::setOption(m_defaultOption, QString::number(id));

    // Only rows loaded so far can be painted: a default record further down the list,
    // hidden by the filter or deleted leaves no row painted.
    if (MSqlQueryModel* model = queryModel())
        model->setRowDefault(loadedRowOfId(id));
}

void MDefaultRecordDbView::renewRowMarks()
{
    setIdRecordDefault(m_idRecordDefault);
}

bool MDefaultRecordDbView::isCurrentDefault() const
{
    const int id = currentId();
    return id > 0 && id == m_idRecordDefault;
}

void MDefaultRecordDbView::doDefault()
{
    const int id = currentId();
    if (id <= 0)
        return;
    setIdRecordDefault(id == m_idRecordDefault ? 0 : id);
    restartEnabledActionsTimer();
}
