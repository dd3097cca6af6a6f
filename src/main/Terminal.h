#pragma once

#include <functional>

struct CommandLine;
struct Environment;

// The work the command line asks for without a window: a disc made from
// audio files, a case inlay, the catalogue as a spreadsheet. Each takes the
// catalogue's lock as the program does and refuses while the program has the
// catalogue open. Messages go to standard error; the exit status is returned.
// environment gives the program's own, once the application object exists.
int runOnTerminal(int argc, char* argv[], const CommandLine& line,
                  const std::function<Environment()>& environment);
// The same work in the program's own process, on the catalogue of the
// environment given (an application object must exist).
int runCommand(const Environment& environment, const CommandLine& line);
