// The New, Open and Save commands of the main window, driven through the tool
// buttons and the file dialogs as a user would.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "controls/LongEdit.h"
#include "editor/MainForm.h"
#include "editor/SizeEnterForm.h"
#include "model/TextShape.h"
#include "support/TestSupport.h"
#include "widgets/Application.h"

using namespace tsb;

namespace {

// Acts on the file dialog once it is shown.
void OnFileDialog(std::function<void(QFileDialog*)> act, int tries = 100) {
    tsbtest::OnNextModal([act, tries] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d) {
            if (tries > 0) OnFileDialog(act, tries - 1);
            return;
        }
        act(d);
    });
}

// Types the file name into the dialog and accepts it.
void Type(QFileDialog* d, const QString& path) {
    auto* edit = d->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    edit->setText(path);
    static_cast<QDialog*>(d)->accept();
}

void ChooseFile(const QString& path) {
    OnFileDialog([path](QFileDialog* d) { Type(d, path); });
}

TTextShape* AddText(TMainForm& form, const std::string& name, int x, int y) {
    auto* t = new TTextShape(&form);
    t->SetName(name);
    t->SetLeft(x);
    t->SetTop(y);
    t->SetParent(form.ScrollBox1);
    t->SetText(name);
    return t;
}

std::string Elements(TMainForm& form) {
    std::string out;
    for (TControl* c : form.ScrollBox1->ControlList())
        if (auto* s = dynamic_cast<TCustomShape*>(c))
            out += s->Name() + "@" + std::to_string(s->Left()) + "," + std::to_string(s->Top()) +
                   (s->Selected() ? "*" : "") + " ";
    return out;
}

struct OpenSave : EditorTest {
    bool Shown() const override { return false; }
    QTemporaryDir Dir;
    QString Path(const char* name) const { return Dir.filePath(name); }
};

} // namespace

TEST_F(OpenSave, SaveWritesEveryElementAndUnselectsThem) {
    AddText(*Form, "TextShape1", 20, 20);
    AddText(*Form, "TextShape2", 60, 60)->SetSelected(true);
    QString title, filter, suffix;
    OnFileDialog([&](QFileDialog* d) {
        title = d->windowTitle();
        filter = d->nameFilters().join(";");
        suffix = d->defaultSuffix();
        Type(d, Path("plain"));
    });
    Form->SaveBtn->click();
    EXPECT_EQ(title, "Save Diagram");
    EXPECT_EQ(filter, "Tresselby files (*.tsb)");
    EXPECT_EQ(suffix, "tsb");
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
    ASSERT_TRUE(QFile::exists(Path("plain.tsb")));
    EXPECT_EQ(Elements(*Form), "TextShape1@20,20 TextShape2@60,60 ");

    // Cancelled: nothing written, the selection is gone all the same.
    dynamic_cast<TCustomShape*>(Form->FindComponent("TextShape1"))->SetSelected(true);
    OnFileDialog([](QFileDialog* d) { d->reject(); });
    Form->MenuItem("Save1")->trigger();
    EXPECT_EQ(Elements(*Form), "TextShape1@20,20 TextShape2@60,60 ");
}

TEST_F(OpenSave, OpenBringsTheDiagramBackUnselectedWithHooksAndACustomPage) {
    AddText(*Form, "TextShape1", 20, 20);
    AddText(*Form, "TextShape2", 60, 60);
    // A page that filled the window when saved.
    Form->ScrollBox1->SetAlign(alClient);
    int savedWidth = Form->ScrollBox1->Width();
    ChooseFile(Path("d.tsb"));
    Form->SaveBtn->click();

    Form->NewBtn->click();
    EXPECT_EQ(Elements(*Form), "");
    Form->ScrollBox1->SetAlign(alNone);
    Form->ScrollBox1->SetBounds(0, 0, 800, 600);

    QString title;
    OnFileDialog([&](QFileDialog* d) {
        title = d->windowTitle();
        Type(d, Path("d.tsb"));
    });
    Form->OpenBtn->click();
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
    EXPECT_EQ(title, "Open Diagram");
    EXPECT_EQ(Elements(*Form), "TextShape1@20,20 TextShape2@60,60 ");
    EXPECT_EQ(Form->ScrollBox1->Width(), savedWidth);
    EXPECT_EQ(Form->ScrollBox1->Align(), alNone);
    EXPECT_TRUE(Form->MenuItem("Custom")->isChecked());
    EXPECT_FALSE(Form->MenuItem("P800x600")->isChecked());
    auto* text = dynamic_cast<TTextShape*>(Form->FindComponent("TextShape2"));
    EXPECT_TRUE(static_cast<bool>(text->OnClick));
    EXPECT_TRUE(static_cast<bool>(text->OnMouseUp));
    EXPECT_TRUE(static_cast<bool>(text->OnDblClick));
    EXPECT_EQ(Form->ScrollBox1->OnMouseDown.Name, "ScrollBox1MouseDown");
    // Placed as PlaceWorkArea places it.
    int left = (Form->ContainerPanel->Width() - savedWidth) / 2;
    EXPECT_EQ(Form->ScrollBox1->Left(), left < 40 ? 40 : left);
}

TEST_F(OpenSave, AFailedOpenShowsTheErrorAndLosesNothing) {
    AddText(*Form, "TextShape1", 20, 20);
    Form->ScrollBox1->SetBounds(45, 35, 700, 500);
    {
        QFile broken(Path("broken.tsb"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("\x0aTScrollBox\x00\x04Left\x02", 19);
    }
    std::string before = Elements(*Form);
    for (const char* name : {"missing.tsb", "broken.tsb"}) {
        ChooseFile(Path(name));
        Form->MenuItem("OpenAction1")->trigger();
        EXPECT_EQ(Elements(*Form), before);
        EXPECT_EQ(Form->ScrollBox1->Left(), 45);
        EXPECT_EQ(Form->ScrollBox1->Width(), 700);
        EXPECT_TRUE(Form->MenuItem("P800x600")->isChecked());
    }
    ASSERT_EQ(tsbtest::ShownErrors().size(), 2u);
    EXPECT_EQ(tsbtest::ShownErrors()[0],
              "Cannot open file " + Path("missing.tsb").toStdString() + ".");
    EXPECT_EQ(tsbtest::ShownErrors()[1], "Stream read error.");
}

TEST_F(OpenSave, TheLargestPageTheEditorMakesSavesAndOpensAgain) {
    tsbtest::AnswerModal<TSizeDialog>([](TSizeDialog* d) {
        d->LongEdit1->setText("1000000");
        d->LongEdit2->setText("1000000");
        tsbtest::Click(d->BitBtn1);
    });
    Form->MenuItem("Custom")->trigger();
    ASSERT_EQ(Form->ScrollBox1->Width(), 1000000);
    AddText(*Form, "TextShape1", 999000, 999500);
    ChooseFile(Path("large.tsb"));
    Form->SaveBtn->click();
    Form->P800x600ActionExecute();
    Form->NewBtn->click();

    ChooseFile(Path("large.tsb"));
    Form->OpenBtn->click();
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
    EXPECT_EQ(Form->ScrollBox1->Width(), 1000000);
    EXPECT_EQ(Form->ScrollBox1->Height(), 1000000);
    EXPECT_EQ(Elements(*Form), "TextShape1@999000,999500 ");
}

TEST(FileDialogs, StartInTheOutputFolderBesideTheProgramWhenThereIsOne) {
    QString output = QString::fromStdString(TApplication::ExeFolder() + "Output");
    bool existed = QDir(output).exists();
    if (!existed) {
        EXPECT_EQ(
            TMainForm::InitialFolder(),
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString());
        ASSERT_TRUE(QDir().mkpath(output));
    }
    EXPECT_EQ(TMainForm::InitialFolder(), output.toStdString());
    if (!existed) QDir(output).removeRecursively();
}
