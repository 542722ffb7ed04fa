#pragma once
// A list in report style: a row caption (first column) and sub-items.

#include <QStringList>
#include <QTreeWidget>

class TListView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TListView(QWidget* parent = nullptr);

    void AddColumn(const QString& caption, int width);
    // Adds a row with its caption and sub-items.
    void AddRow(const QString& caption, const QStringList& subItems);

    int RowCount() const { return topLevelItemCount(); }
    QString Caption(int row) const;
    void SetCaption(int row, const QString& text);
    QString SubItem(int row, int index) const;
    // Replaces the text of sub-item index of the row; throws std::out_of_range
    // for a row or sub-item that does not exist.
    void SetSubItem(int row, int index, const QString& text);

    // Whether the operator may edit row captions in place.
    void SetCaptionsEditable(bool editable);
    bool CaptionsEditable() const { return captionsEditable_; }

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    QTreeWidgetItem* Row(int row) const;
    bool captionsEditable_ = false;
};
