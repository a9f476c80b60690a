// The editor's command line: a diagram to open at start, or a question
// (--help, --version) that is answered without a display.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tsb {

class TCommandLine {
public:
    enum TAction { caStart, caHelp, caVersion, caWrong };

    // Reads the arguments that follow the program's name. "--" ends the
    // options, so a file whose name starts with "-" can be named after it.
    static TCommandLine Parse(const std::vector<std::string>& arguments);

    TAction Action = caStart;
    // The diagram to open at start; empty for none.
    std::string FileName;
    // Keep recovery copies and offer those left unsaved (--no-recovery:
    // neither, for scripts).
    bool Recovery = true;
    // What is wrong with the command line, for caWrong.
    std::string Error;

    // Prints the answer of --help and --version to `out`, or what is wrong
    // and the usage to `err`; returns the exit status (0, or 2 when wrong).
    int Answer(std::ostream& out, std::ostream& err) const;

    static std::string UsageText();
    // "tresselby 1.0.0.0"
    static std::string VersionText();
};

} // namespace tsb
