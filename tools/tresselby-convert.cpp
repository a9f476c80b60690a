// tresselby-convert: reads a diagram file through the diagram model and writes
// it again, or lists its elements. Runs without a display.
//
//   tresselby-convert IN.tsb OUT.tsb   load, select all, save
//   tresselby-convert IN.tsb OUT.jpg   the work area as the editor exports it
//                                      (also .jpeg, .png, .pdf, .svg)
//   tresselby-convert IN.tsb OUT.csv   the wiring list (also .json: the
//                                      diagram as data)
//   tresselby-convert --dump IN.tsb    one line per element
//   tresselby-convert --help | --version
// Any other output extension is refused with an error. --quiet and
// --progress, anywhere on the line, hide or show the progress line on
// standard error (shown by default on a terminal only).
//
// Errors go to standard error in the editor's words; the exit status is then
// 1 (2 for a wrong command line, with the usage). OUT is replaced only by a
// complete file: SIGINT and SIGTERM discard the file being written and exit
// with 130 and 143.
#include <QApplication>
#include <QFileInfo>
#include <QIODevice>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "TerminalProgress.h"

#include "core/Exception.h"
#include "core/FileStream.h"
#include "export/PageExport.h"
#include "model/CustomShape.h"
#include "model/DiagramDump.h"
#include "model/DiagramJson.h"
#include "model/DiagramRoot.h"
#include "model/ModelClasses.h"
#include "model/WiringList.h"
#include "tresselby/Version.h"
#include "widgets/ScrollBox.h"
#include "workarea/SnapGrid.h"

namespace {

// The diagram as data, by the output's extension: the wiring list (.csv) or
// the whole diagram for scripts (.json).
enum class TDataOutput { None, WiringList, Json };

TDataOutput DataOutputFor(const std::string& name) {
    const std::string extension = QFileInfo(QString::fromStdString(name)).suffix().toStdString();
    if (tsb::SameText(extension, "csv")) return TDataOutput::WiringList;
    if (tsb::SameText(extension, "json")) return TDataOutput::Json;
    return TDataOutput::None;
}

// The data made whole first; a signal meanwhile, or while it is written,
// stops before the target is replaced.
void WriteData(const tsb::TScrollBox* area, TDataOutput output, const std::string& name,
               tsb::TProgress& progress) {
    progress.Step(0, 2);
    tsb::TBytes bytes;
    if (output == TDataOutput::WiringList) {
        bytes = tsb::TWiringList(area).Csv();
    } else {
        const std::string text = tsb::TDiagramJson::Write(area);
        bytes.assign(text.begin(), text.end());
    }
    progress.Step(1, 2);
    tsb::WriteFileThrough(name, [&](QIODevice& file) {
        const auto size = static_cast<qint64>(bytes.size());
        if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size)
            throw tsb::Exception("Stream write error");
        progress.Step(2, 2);
    });
}

// The output format by the file's extension, case-insensitively: the
// diagram stream, or an export format. Anything unknown is refused before a
// byte is written.
std::optional<tsb::TExportFormat> OutputFor(const std::string& name) {
    const std::string extension = QFileInfo(QString::fromStdString(name)).suffix().toStdString();
    if (tsb::SameText(extension, "tsb") || DataOutputFor(name) != TDataOutput::None)
        return std::nullopt;
    if (auto format = tsb::ExportFormatOf(name)) return format;
    throw tsb::Exception(tsb::FormatMessage("Unknown output file extension (.%s)", {extension}));
}

// The work area with its grid and without selection handles, as the editor
// shows an opened diagram: images painted in bands straight into the file,
// PDF and SVG as vector drawings.
void ExportImage(tsb::TScrollBox* area, tsb::TExportFormat format, const std::string& fileName,
                 tsb::TProgress& progress) {
    tsb::TCustomShape::UnselectAll(area);
    tsb::TPageExport(area, &progress).Write(format, fileName);
}

// The usage, as --help prints it; one line per output format.
const char* const kUsage = R"(Usage: tresselby-convert IN.tsb OUT
       tresselby-convert --dump IN.tsb
       tresselby-convert --help | --version

Reads the diagram IN.tsb and writes OUT in the format its extension names:
  .tsb          the diagram again, as the editor saves it
  .jpg, .jpeg   a JPEG image of the work area, as the editor exports it
  .png          a PNG image of the work area, every pixel as on screen
  .pdf          a PDF document: one page of the work area's size, real text
  .svg          an SVG drawing of the work area, real text
  .csv          the wiring list: one row per connector, from and to, nets
  .json         the diagram as data for scripts, as described by the JSON
                Schema share/tresselby/diagram.schema.json
Extensions are matched without regard to case; any other is refused and
nothing is written. Images show the work area with its grid. Needs no display.
On a terminal, a line on standard error shows how far the export has come.
Interrupted (SIGINT, SIGTERM), it leaves OUT as it was.

  --dump        list the elements of IN.tsb, one line each
  --progress    show the progress line on standard error, also off a terminal
  --quiet       show no progress line
  --help        show this text and exit
  --version     show the program's version and exit
)";

int Usage() {
    std::cerr << kUsage;
    return 2;
}

// Answers --help and --version, the only words given; -1 for anything else.
int Answer(int argc, char** argv) {
    if (argc != 2) return -1;
    if (std::strcmp(argv[1], "--help") == 0) {
        std::cout << kUsage << std::flush;
    } else if (std::strcmp(argv[1], "--version") == 0) {
        std::cout << "tresselby-convert " << tsb::VersionString << '\n' << std::flush;
    } else {
        return -1;
    }
    return std::cout ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Standard error carries only the tool's own messages.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // The progress options may stand anywhere; the rest is read as before.
    bool shown = isatty(STDERR_FILENO) == 1;
    std::vector<char*> args{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quiet") == 0)
            shown = false;
        else if (std::strcmp(argv[i], "--progress") == 0)
            shown = true;
        else
            args.push_back(argv[i]);
    }
    const int count = static_cast<int>(args.size());
    if (int status = Answer(count, args.data()); status >= 0) return status;
    if (count != 3) return Usage();
    bool dump = std::strcmp(args[1], "--dump") == 0;
    if (!dump && (std::strncmp(args[1], "--", 2) == 0 || std::strncmp(args[2], "--", 2) == 0))
        return Usage();
    tsbtool::TTerminalProgress::CatchSignals();
    QApplication app(argc, argv);
    auto named = [](const char* verb, const char* file) {
        return verb + QFileInfo(QString::fromLocal8Bit(file)).fileName().toStdString();
    };
    tsbtool::TTerminalProgress progress(named("Reading ", args[dump ? 2 : 1]), shown);
    try {
        const std::optional<tsb::TExportFormat> format = dump ? std::nullopt : OutputFor(args[2]);
        tsb::RegisterModelClasses();
        tsb::TDiagramRoot root;
        auto* grid = new tsb::TSnapGrid(&root);
        grid->SetName("SnapGrid1");
        grid->SetGridSize(20);
        grid->SetParent(root.ScrollBox1);
        tsb::TCustomShape::LoadFromFile(args[dump ? 2 : 1], root.ScrollBox1, &progress);
        if (dump) {
            progress.Done();
            std::cout << tsb::DumpDiagram(root.ScrollBox1) << std::flush;
        } else if (format) {
            progress.SetAction(named("Exporting ", args[2]));
            ExportImage(root.ScrollBox1, *format, args[2], progress);
        } else if (TDataOutput data = DataOutputFor(args[2]); data != TDataOutput::None) {
            progress.SetAction(named("Writing ", args[2]));
            WriteData(root.ScrollBox1, data, args[2], progress);
        } else {
            progress.SetAction(named("Saving ", args[2]));
            tsb::TCustomShape::SelectAll(root.ScrollBox1);
            tsb::TCustomShape::SaveToFile(args[2], root.ScrollBox1, &progress);
        }
    } catch (const tsb::ECancelled&) {
        progress.Done();
        return 128 + tsbtool::TTerminalProgress::Signal();
    } catch (const std::exception& e) {
        progress.Done();
        std::cerr << e.what() << '\n';
        return 1;
    }
    progress.Done();
    return 0;
}
