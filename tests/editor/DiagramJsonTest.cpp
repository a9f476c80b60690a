// The converter's JSON of every sample diagram: valid against the installed
// schema, which refuses what breaks it, and holding the diagram the editor
// shows: every element in z-order with its bounds, caption and ends.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "SampleDiagrams.h"
#include "model/CustomShape.h"

using namespace tsb;

namespace {

// The validator's verdict on each file, one line each: "ok" or the error.
QStringList Validate(const QStringList& files) {
    QProcess python;
    python.start("/usr/bin/python3", QStringList{"-c", R"(
import json, sys, jsonschema
schema = json.load(open(sys.argv[1], encoding="utf-8"))
jsonschema.Draft202012Validator.check_schema(schema)
for name in sys.argv[2:]:
    try:
        jsonschema.validate(json.load(open(name, encoding="utf-8")), schema,
                            cls=jsonschema.Draft202012Validator)
        print("ok")
    except jsonschema.ValidationError as e:
        print("invalid: " + e.message.replace("\n", " "))
)",
                                                 TRESSELBY_JSON_SCHEMA} +
                                         files);
    EXPECT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.exitCode(), 0)
        << python.readAllStandardError().toStdString() << " (python3-jsonschema: scripts/setup.sh)";
    return QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

class DiagramJson : public EditorTest {
protected:
    // The form's diagram saved and converted to JSON; the form shows what
    // the file holds.
    QByteArray Convert(const QString& name) {
        const QString tsb = Path(name + ".tsb");
        TCustomShape::SelectAll(Form->ScrollBox1);
        TCustomShape::SaveToFile(tsb.toStdString(), Form->ScrollBox1);
        Form->OpenFile(tsb.toStdString());
        QProcess convert;
        convert.start(TRESSELBY_CONVERT, {tsb, Path(name + ".json")});
        EXPECT_TRUE(convert.waitForFinished(60000));
        EXPECT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
        QFile file(Path(name + ".json"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The document holds the form's page and elements in z-order as they are.
    void ExpectTheDiagram(const QString& name) {
        const QJsonObject document = QJsonDocument::fromJson(Convert(name)).object();
        Files << Path(name + ".json");
        const QJsonObject page = document["page"].toObject();
        EXPECT_EQ(TPoint(page["width"].toInt(), page["height"].toInt()),
                  TPoint(Form->ScrollBox1->Width(), Form->ScrollBox1->Height()));
        auto text = [](const QJsonValue& v) { return v.toString().toStdString(); };
        const QJsonArray elements = document["elements"].toArray();
        std::vector<TCustomShape*> shapes = All<TCustomShape>();
        ASSERT_EQ(elements.size(), qsizetype(shapes.size()));
        for (std::size_t i = 0; i < shapes.size(); ++i) {
            const QJsonObject e = elements[qsizetype(i)].toObject(), b = e["bounds"].toObject();
            const TCustomShape* s = shapes[i];
            EXPECT_EQ(text(e["class"]) + " " + text(e["name"]), s->ClassName() + (" " + s->Name()));
            EXPECT_EQ(Bounds(b["left"].toInt(), b["top"].toInt(), b["width"].toInt(),
                             b["height"].toInt()),
                      s->BoundsRect());
            EXPECT_EQ(text(e["caption"].toObject()["text"]),
                      s->Caption() ? s->Caption()->Text() : "");
            if (auto* c = As<const TConnector>(s))
                for (auto [key, end] :
                     {std::pair{"start", &c->StartConn()}, {"end", &c->EndConn()}}) {
                    const QJsonObject o = e[key].toObject();
                    EXPECT_EQ(text(o["element"]), end->Shape()->Name());
                    EXPECT_EQ(TPoint(o["x"].toInt(), o["y"].toInt()), end->AttachPoint());
                }
        }
    }
    QString Path(const QString& name) const { return Dir.filePath(name); }

    QTemporaryDir Dir;
    QStringList Files;
};

} // namespace

TEST_F(DiagramJson, EverySampleDiagramIsValidAndHoldsWhatTheEditorShows) {
    tsbtest::AddEveryKind(Form);
    ExpectTheDiagram("every-kind");
    TCustomShape::DeleteAll(Form->ScrollBox1);
    Form->ScrollBox1->SetBounds(40, 30, 760, 580);
    tsbtest::AddConnectorWidthsAndStyles(Form);
    ExpectTheDiagram("connectors");
    TCustomShape::DeleteAll(Form->ScrollBox1);
    tsbtest::AddTexts(Form);
    ExpectTheDiagram("texts");
    TCustomShape::DeleteAll(Form->ScrollBox1);
    ExpectTheDiagram("empty");
    EXPECT_EQ(Validate(Files), QStringList(Files.size(), "ok"));

    // The schema holds the document to its form: each change breaks it.
    QFile everyKind(Path("every-kind.json"));
    ASSERT_TRUE(everyKind.open(QIODevice::ReadOnly));
    const QByteArray valid = everyKind.readAll();
    const std::vector<std::pair<const char*, const char*>> breaks = {
        {R"("side": "right")", R"("side": "middle")"},
        {R"("lineStyle": "solid", "lineColour": "#000000", "start")",
         R"("lineStyle": "solid", "lineColour": "#000000", "arrowStyle": "open", "start")"},
        {R"("lineColour": "#000000")", R"("lineColour": "#00ff00")"},
        {R"("bounds": )", R"("box": )"},
        {R"("shapeType": "rectangle")", R"("shapeType": "triangle")"},
        {R"("style": [])", R"("style": ["bold", "bold"])"},
        {R"(, "imageName": "Images/DefaultPicture.jpg")", ""},
        {R"("autosize": true)", R"("autosize": true, "extra": 1)"},
        {R"("width": 800)", R"("width": -1)"},
    };
    Files.clear();
    for (auto [from, to] : breaks) {
        ASSERT_TRUE(valid.contains(from)) << from;
        QFile file(Path(QString("broken-%1.json").arg(Files.size())));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(valid).replace(valid.indexOf(from), qstrlen(from), to));
        Files << file.fileName();
    }
    QStringList verdicts = Validate(Files);
    for (QString& verdict : verdicts)
        verdict = verdict.section(':', 0, 0);
    EXPECT_EQ(verdicts, QStringList(Files.size(), "invalid"));
}
