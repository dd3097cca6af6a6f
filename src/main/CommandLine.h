#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of the program. Help, the version and a wrong
// option are answered on the terminal, with no window and no display.
struct CommandLine {
    enum Action {
        OpenWindows, // the program as usual
        Done,        // answered on the terminal: end with exitCode
        AddDisc,     // --add-disc NAME [--format F] FILE...
        Inlay,       // --inlay NAME FILE.pdf
        ExportCsv,   // --export-csv FILE ("-": standard output)
        ImportCsv,   // --import-csv FILE
        Duplicates,  // --duplicates
        Statistics,  // --stats
    };
    Action action = OpenWindows;
    int exitCode = 0;
    QString dataDir = {}; // --data: the catalogue's folder; empty for the usual one
    QString disc = {};    // the disc made or whose inlay is drawn
    QString format = {};  // the format of every track of a disc made from files
    QStringList files = {};
    QString output = {}; // the PDF or the spreadsheet to write, or the spreadsheet to read
};

// Reads the arguments (the program's name first); prints what it answers
// itself to standard output, or its complaint and the usage to standard error.
CommandLine readCommandLine(const QStringList& arguments);
