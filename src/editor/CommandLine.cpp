#include "editor/CommandLine.h"

#include <ostream>

#include "tresselby/Version.h"

namespace tsb {

namespace {

TCommandLine Wrong(const std::string& error) {
    TCommandLine line;
    line.Action = TCommandLine::caWrong;
    line.Error = error;
    return line;
}

} // namespace

TCommandLine TCommandLine::Parse(const std::vector<std::string>& arguments) {
    TCommandLine line;
    bool options = true;
    int files = 0;
    for (const std::string& arg : arguments) {
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--help") {
            line.Action = caHelp;
            return line;
        } else if (options && arg == "--version") {
            line.Action = caVersion;
            return line;
        } else if (options && arg == "--no-recovery") {
            line.Recovery = false;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            return Wrong("unknown option '" + arg + "'");
        } else if (arg.empty()) {
            return Wrong("empty file name");
        } else if (++files > 1) {
            return Wrong("more than one file named");
        } else {
            line.FileName = arg;
        }
    }
    return line;
}

int TCommandLine::Answer(std::ostream& out, std::ostream& err) const {
    switch (Action) {
    case caHelp:
        out << UsageText() << std::flush;
        return out ? 0 : 1;
    case caVersion:
        out << VersionText() << '\n' << std::flush;
        return out ? 0 : 1;
    case caWrong:
        err << "tresselby: " << Error << "\n\n" << UsageText() << std::flush;
        return 2;
    case caStart:
        break;
    }
    return 0;
}

std::string TCommandLine::UsageText() {
    return "Usage: tresselby [--no-recovery] [FILE.tsb]\n"
           "       tresselby --help | --version\n"
           "\n"
           "Starts the Tresselby Diagram Tool and opens the diagram FILE.tsb when one\n"
           "is named. A file that cannot be opened is reported in a message box and\n"
           "the editor starts with an empty diagram.\n"
           "\n"
           "Unsaved changes are kept in recovery copies; at start, copies left by an\n"
           "editor that was closed or ended are offered in \"Recover Unsaved Diagrams\"\n"
           "(after FILE.tsb is opened).\n"
           "\n"
           "  --no-recovery  start without recovery copies and without the list\n"
           "  --help         show this text and exit\n"
           "  --version      show the program's version and exit\n"
           "  --             end of options: a file name may follow that starts with -\n";
}

std::string TCommandLine::VersionText() {
    return std::string("tresselby ") + VersionString;
}

} // namespace tsb
