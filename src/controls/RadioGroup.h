// A framed group of radio buttons, one per item, laid out in columns.
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace tsb {

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    const QStringList& Items() const { return FItems; }
    // Replaces the buttons; no item is selected afterwards.
    void SetItems(const QStringList& items);
    // Items fill the columns top to bottom, left column first.
    int Columns() const { return FColumns; }
    void SetColumns(int columns);
    // Index of the selected item, -1 when none is.
    int ItemIndex() const;
    // -1 (or less) selects none; an index past the end selects the last item.
    void SetItemIndex(int index);
    // The radio button of an item.
    QRadioButton* Button(int index) const { return FButtons.at(index); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ArrangeButtons();

    QStringList FItems;
    int FColumns = 1;
    QButtonGroup* FButtonGroup;
    std::vector<QRadioButton*> FButtons;
};

} // namespace tsb
