#include "editor/FindForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "editor/DiagramHistory.h"
#include "editor/MainForm.h"
#include "model/TextShape.h"
#include "widgets/Application.h"

namespace tsb {

TFindForm::TFindForm(TMainForm& form) : QDialog(form.Window()), FForm(form) {
    setObjectName("FindForm");
    setWindowTitle("Find");
    setModal(false);

    FindLabel = new QLabel("Find what:", this);
    FindLabel->setObjectName("FindLabel");
    FindEdit = new QLineEdit(this);
    FindEdit->setObjectName("FindEdit");
    FindEdit->setAccessibleName("Find what");
    FindLabel->setBuddy(FindEdit);
    ReplaceLabel = new QLabel("Replace with:", this);
    ReplaceLabel->setObjectName("ReplaceLabel");
    ReplaceEdit = new QLineEdit(this);
    ReplaceEdit->setObjectName("ReplaceEdit");
    ReplaceEdit->setAccessibleName("Replace with");
    ReplaceLabel->setBuddy(ReplaceEdit);
    MatchCaseBox = new QCheckBox("Match case", this);
    MatchCaseBox->setObjectName("MatchCaseBox");
    ResultLabel = new QLabel(this);
    ResultLabel->setObjectName("ResultLabel");
    ResultLabel->setMinimumWidth(160);

    auto button = [this](const char* name, const char* caption, auto handler) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this,
                [this, handler] { Guarded([&] { (this->*handler)(); }); });
        return b;
    };
    FindNextBtn = button("FindNextBtn", "Find Next", &TFindForm::FindNextClick);
    FindAllBtn = button("FindAllBtn", "Find All", &TFindForm::FindAllClick);
    ReplaceBtn = button("ReplaceBtn", "Replace", &TFindForm::ReplaceClick);
    ReplaceAllBtn = button("ReplaceAllBtn", "Replace All", &TFindForm::ReplaceAllClick);
    // Return in either field finds the next.
    FindNextBtn->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(FindLabel, 0, 0);
    grid->addWidget(FindEdit, 0, 1);
    grid->addWidget(ReplaceLabel, 1, 0);
    grid->addWidget(ReplaceEdit, 1, 1);
    grid->addWidget(MatchCaseBox, 2, 0, 1, 2);
    grid->addWidget(ResultLabel, 3, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {FindNextBtn, FindAllBtn, ReplaceBtn, ReplaceAllBtn})
        buttons->addWidget(b);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 4, 1);
    grid->setColumnMinimumWidth(1, 200);
    setTabOrder(FindEdit, ReplaceEdit);
    setTabOrder(ReplaceEdit, MatchCaseBox);
    setTabOrder(MatchCaseBox, FindNextBtn);
    setTabOrder(FindNextBtn, FindAllBtn);
    setTabOrder(FindAllBtn, ReplaceBtn);
    setTabOrder(ReplaceBtn, ReplaceAllBtn);

    // F3 finds the next here as in the main window.
    auto* next = new QShortcut(QKeySequence(Qt::Key_F3), this);
    next->setObjectName("ShortcutFindNext");
    connect(next, &QShortcut::activated, this, [this] {
        if (FindNextBtn->isEnabled()) FindNextBtn->click();
    });
    // Ctrl+F here goes back to the text to find.
    auto* find = new QShortcut(QKeySequence("Ctrl+F"), this);
    find->setObjectName("ShortcutFind");
    connect(find, &QShortcut::activated, this, [this] {
        FindEdit->setFocus();
        FindEdit->selectAll();
    });
    connect(FindEdit, &QLineEdit::textChanged, this, [this] { FollowText(); });
    connect(MatchCaseBox, &QCheckBox::toggled, this, [this] { SetResult({}); });
    FollowText();
}

namespace {

// A field's text with its line breaks, which a paste may bring, as texts
// hold them: CR LF.
std::string AsStored(const QLineEdit* edit) {
    QString text = edit->text();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace('\r', '\n');
    return text.replace('\n', QLatin1String("\r\n")).toStdString();
}

} // namespace

TDiagramSearch TFindForm::Search() const {
    return TDiagramSearch(AsStored(FindEdit), MatchCaseBox->isChecked());
}

void TFindForm::FollowText() {
    const bool any = !FindEdit->text().isEmpty();
    for (QPushButton* b : {FindNextBtn, FindAllBtn, ReplaceBtn, ReplaceAllBtn})
        b->setEnabled(any);
    SetResult({});
}

void TFindForm::SetResult(const QString& text) {
    // The label announces its new text to screen readers itself.
    if (ResultLabel->text() != text) ResultLabel->setText(text);
}

void TFindForm::Select(const std::vector<TTextShape*>& texts) {
    // As unselecting all and selecting the texts, but only what changes is
    // repainted. The texts are in child order; an element unselected takes
    // its caption with it, so the texts are selected afterwards.
    std::size_t next = 0;
    for (TControl* c : FForm.ScrollBox1->ControlList()) {
        auto* shape = As<TCustomShape>(c);
        if (!shape) continue;
        if (next < texts.size() && texts[next] == shape)
            ++next;
        else if (shape->Selected())
            shape->SetSelected(false);
    }
    for (TTextShape* text : texts)
        if (!text->Selected()) text->SetSelected(true);
    if (!texts.empty()) FForm.ScrollIntoView(texts.front()->BoundsRect());
}

bool TFindForm::FindNextClick() {
    const TDiagramSearch search = Search();
    TWinControl* area = FForm.ScrollBox1;
    TTextShape* found = search.Next(area, TDiagramSearch::AfterSelection(area));
    if (!found) {
        SetResult("No matches");
        return false;
    }
    Select({found});
    SetResult({});
    return true;
}

void TFindForm::FindAllClick() {
    const std::vector<TTextShape*> found = Search().All(FForm.ScrollBox1);
    if (found.empty()) {
        SetResult("No matches");
        return;
    }
    Select(found);
    SetResult(found.size() == 1 ? QString("1 match") : QString("%1 matches").arg(found.size()));
}

void TFindForm::ReplaceIn(const std::vector<TTextShape*>& texts, const char* step) {
    const TDiagramSearch search = Search();
    const std::string with = AsStored(ReplaceEdit);
    TDiagramHistory::TChange change(FForm.History(), step);
    change.Touch(std::vector<TCustomShape*>(texts.begin(), texts.end()));
    std::size_t total = 0;
    for (TTextShape* text : texts) {
        std::size_t count = 0;
        std::string value = search.Replaced(text->Text(), with, count);
        total += count;
        FForm.SetElementText(text, value);
    }
    SetResult(total == 0 ? QString("No matches") : QString("%1 replaced").arg(total));
}

void TFindForm::ReplaceClick() {
    if (TTextShape* current = Search().SelectedMatch(FForm.ScrollBox1))
        ReplaceIn({current}, "Replace");
    FindNextClick();
}

void TFindForm::ReplaceAllClick() {
    ReplaceIn(Search().All(FForm.ScrollBox1), "Replace All");
}

} // namespace tsb
