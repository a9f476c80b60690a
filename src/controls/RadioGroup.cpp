#include "controls/RadioGroup.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFontMetrics>
#include <QRadioButton>
#include <algorithm>

namespace tsb {

TRadioGroup::TRadioGroup(QWidget* parent)
    : QGroupBox(parent), FButtonGroup(new QButtonGroup(this)) {}

void TRadioGroup::SetItems(const QStringList& items) {
    for (QRadioButton* b : FButtons)
        delete b;
    FButtons.clear();
    FItems = items;
    for (int i = 0; i < FItems.size(); ++i) {
        auto* b = new QRadioButton(FItems[i], this);
        FButtonGroup->addButton(b, i);
        FButtons.push_back(b);
        b->show();
    }
    ArrangeButtons();
}

void TRadioGroup::SetColumns(int columns) {
    columns = std::clamp(columns, 1, 16);
    if (columns == FColumns) return;
    FColumns = columns;
    ArrangeButtons();
}

int TRadioGroup::ItemIndex() const {
    return FButtonGroup->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (index >= static_cast<int>(FButtons.size())) index = static_cast<int>(FButtons.size()) - 1;
    if (index < 0) {
        if (QAbstractButton* checked = FButtonGroup->checkedButton()) {
            // An exclusive group does not let its checked button go.
            FButtonGroup->setExclusive(false);
            checked->setChecked(false);
            FButtonGroup->setExclusive(true);
        }
        return;
    }
    FButtons[index]->setChecked(true);
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    ArrangeButtons();
}

void TRadioGroup::changeEvent(QEvent* event) {
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange) ArrangeButtons();
}

// Below the frame's title, the rows share the height and the columns the
// width; what the rows leave over is split above and below them.
void TRadioGroup::ArrangeButtons() {
    if (FButtons.empty()) return;
    int count = static_cast<int>(FButtons.size());
    int perColumn = (count + FColumns - 1) / FColumns;
    int textHeight = QFontMetrics(font()).height();
    int buttonWidth = (width() - 10) / FColumns;
    int space = std::max(0, height() - textHeight - 5);
    int buttonHeight = space / perColumn;
    int topMargin = textHeight + 1 + (space % perColumn) / 2;
    for (int i = 0; i < count; ++i) {
        int left = (i / perColumn) * buttonWidth + 8;
        int top = (i % perColumn) * buttonHeight + topMargin;
        FButtons[i]->setGeometry(left, top, buttonWidth, buttonHeight);
    }
}

} // namespace tsb
