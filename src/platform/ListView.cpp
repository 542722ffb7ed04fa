#include "platform/ListView.h"

#include <QHeaderView>
#include <stdexcept>

TListView::TListView(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setColumnCount(0);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
}

void TListView::AddColumn(const QString& caption, int width)
{
    const int column = columnCount();
    setColumnCount(column + 1);
    QTreeWidgetItem* h = headerItem();
    h->setText(column, caption);
    setColumnWidth(column, width);
}

void TListView::AddRow(const QString& caption, const QStringList& subItems)
{
    auto* item = new QTreeWidgetItem(this);
    item->setText(0, caption);
    for (int i = 0; i < subItems.size(); ++i)
        item->setText(i + 1, subItems[i]);
    if (captionsEditable_)
        item->setFlags(item->flags() | Qt::ItemIsEditable);
}

QTreeWidgetItem* TListView::Row(int row) const
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        throw std::out_of_range("list view row out of range");
    return item;
}

QString TListView::Caption(int row) const { return Row(row)->text(0); }

void TListView::SetCaption(int row, const QString& text) { Row(row)->setText(0, text); }

QString TListView::SubItem(int row, int index) const
{
    if (index < 0 || index + 1 >= columnCount())
        throw std::out_of_range("list view sub-item out of range");
    return Row(row)->text(index + 1);
}

void TListView::SetSubItem(int row, int index, const QString& text)
{
    if (index < 0 || index + 1 >= columnCount())
        throw std::out_of_range("list view sub-item out of range");
    Row(row)->setText(index + 1, text);
}

void TListView::SetCaptionsEditable(bool editable)
{
    captionsEditable_ = editable;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = topLevelItem(i);
        item->setFlags(editable ? item->flags() | Qt::ItemIsEditable : item->flags() & ~Qt::ItemIsEditable);
    }
    setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::SelectedClicked
                             : QAbstractItemView::NoEditTriggers);
}

bool TListView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // Only the row caption is editable in place, never a count or an angle.
    if (index.isValid() && index.column() != 0)
        return false;
    return QTreeWidget::edit(index, trigger, event);
}
