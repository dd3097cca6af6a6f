#pragma once

struct CommandLine;
struct Environment;

// The work the command line asks for without a window: a disc made from
// audio files, a case inlay, the catalogue as a spreadsheet. Each takes the
// catalogue's lock as the program does and refuses while the program has the
// catalogue open. Messages go to standard error; the exit status is returned.
int runOnTerminal(int argc, char* argv[], const CommandLine& line);
// The same work in the program's own process, on the catalogue of the
// environment given (an application object must exist).
int runCommand(const Environment& environment, const CommandLine& line);
