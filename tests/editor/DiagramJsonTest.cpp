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
    // The form's diagram saved, converted to JSON and read back.
    QJsonObject Convert(const QString& name) {
        const QString tsb = Dir.filePath(name + ".tsb");
        const QString json = Dir.filePath(name + ".json");
        TCustomShape::SelectAll(Form->ScrollBox1);
        TCustomShape::SaveToFile(tsb.toStdString(), Form->ScrollBox1);
        Form->OpenFile(tsb.toStdString());
        QProcess convert;
        convert.start(TRESSELBY_CONVERT, {tsb, json});
        EXPECT_TRUE(convert.waitForFinished(60000));
        EXPECT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
        QFile file(json);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        Files << json;
        return document.object();
    }
    // The document holds the form's elements in z-order as they are.
    void ExpectTheDiagram(const QJsonObject& document) {
        EXPECT_EQ(document["page"].toObject()["width"].toInt(), Form->ScrollBox1->Width());
        EXPECT_EQ(document["page"].toObject()["height"].toInt(), Form->ScrollBox1->Height());
        const QJsonArray elements = document["elements"].toArray();
        std::vector<TCustomShape*> shapes = All<TCustomShape>();
        ASSERT_EQ(elements.size(), qsizetype(shapes.size()));
        for (std::size_t i = 0; i < shapes.size(); ++i) {
            const QJsonObject e = elements[qsizetype(i)].toObject();
            const TCustomShape* s = shapes[i];
            SCOPED_TRACE(s->Name() + " " + std::to_string(i));
            EXPECT_EQ(e["class"].toString().toStdString(), s->ClassName());
            EXPECT_EQ(e["name"].toString().toStdString(), s->Name());
            const QJsonObject b = e["bounds"].toObject();
            EXPECT_EQ(TRect(b["left"].toInt(), b["top"].toInt(),
                            b["left"].toInt() + b["width"].toInt(),
                            b["top"].toInt() + b["height"].toInt()),
                      s->BoundsRect());
            EXPECT_EQ(e["caption"].toObject()["text"].toString().toStdString(),
                      s->Caption() ? s->Caption()->Text() : "");
            if (auto* c = As<const TConnector>(s)) {
                for (auto [key, end] :
                     {std::pair{"start", &c->StartConn()}, {"end", &c->EndConn()}}) {
                    const QJsonObject o = e[key].toObject();
                    EXPECT_EQ(o["element"].toString().toStdString(),
                              end->Shape() ? end->Shape()->Name() : "");
                    EXPECT_EQ(o["x"].toInt(), end->AttachPoint().X);
                    EXPECT_EQ(o["y"].toInt(), end->AttachPoint().Y);
                }
            }
        }
    }
    void Write(const QString& name, const QJsonObject& document) {
        QFile file(Dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(document).toJson());
        Files << file.fileName();
    }

    QTemporaryDir Dir;
    QStringList Files;
};

// Replaces the member at the path (object keys, or array indexes as
// numbers), or removes it when value is undefined.
QJsonValue Changed(QJsonValue at, QStringList path, const QJsonValue& value) {
    if (path.isEmpty()) return value;
    const QString key = path.takeFirst();
    if (at.isArray()) {
        QJsonArray a = at.toArray();
        a[key.toInt()] = Changed(a[key.toInt()], path, value);
        return a;
    }
    QJsonObject o = at.toObject();
    if (path.isEmpty() && value.isUndefined())
        o.remove(key);
    else
        o[key] = Changed(o[key], path, value);
    return o;
}

} // namespace

TEST_F(DiagramJson, EverySampleDiagramIsValidAndHoldsWhatTheEditorShows) {
    tsbtest::AddEveryKind(Form);
    const QJsonObject everyKind = Convert("every-kind");
    ExpectTheDiagram(everyKind);
    TCustomShape::DeleteAll(Form->ScrollBox1);
    Form->ScrollBox1->SetBounds(40, 30, 760, 580);
    tsbtest::AddConnectorWidthsAndStyles(Form);
    ExpectTheDiagram(Convert("connectors"));
    TCustomShape::DeleteAll(Form->ScrollBox1);
    tsbtest::AddTexts(Form);
    ExpectTheDiagram(Convert("texts"));
    TCustomShape::DeleteAll(Form->ScrollBox1);
    ExpectTheDiagram(Convert("empty"));
    EXPECT_EQ(Validate(Files), QStringList(Files.size(), "ok"));

    // The schema holds the document to its form: each change below breaks it.
    const QJsonArray elements = everyKind["elements"].toArray();
    auto index = [&elements](const char* className) {
        for (qsizetype i = 0; i < elements.size(); ++i)
            if (elements[i].toObject()["class"] == className) return QString::number(i);
        return QString();
    };
    const QString line = index("TLineConnector"), text = index("TTextShape");
    const QString standard = index("TStandardShape"), thumb = index("TThumbNailShape");
    const std::vector<std::pair<QStringList, QJsonValue>> breaks = {
        {{"elements", line, "start", "side"}, "middle"},
        {{"elements", line, "arrowStyle"}, "open"},
        {{"elements", line, "lineColour"}, "#00ff00"},
        {{"elements", standard, "bounds"}, QJsonValue::Undefined},
        {{"elements", standard, "shapeType"}, "triangle"},
        {{"elements", text, "font", "style"}, QJsonArray{"bold", "bold"}},
        {{"elements", thumb, "imageName"}, QJsonValue::Undefined},
        {{"elements", text, "extra"}, 1},
        {{"page", "width"}, -1},
    };
    Files.clear();
    for (std::size_t i = 0; i < breaks.size(); ++i)
        Write(QString("broken-%1.json").arg(i),
              Changed(everyKind, breaks[i].first, breaks[i].second).toObject());
    const QStringList verdicts = Validate(Files);
    ASSERT_EQ(verdicts.size(), qsizetype(breaks.size()));
    for (std::size_t i = 0; i < breaks.size(); ++i)
        EXPECT_TRUE(verdicts[qsizetype(i)].startsWith("invalid"))
            << breaks[i].first.join('.').toStdString();
}
