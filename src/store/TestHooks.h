#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// A message box as it was asked for: its kind and text (kind 6 has its own).
struct ShownMessage {
    int kind = 0;
    QString text;
};

// What the tests script and watch through the program's own paths. The
// program itself runs without one; the core and the message box ask it when
// it is there.
struct TestHooks {
    // Every message box asked for, in order.
    QList<ShownMessage> messagesShown;
    // When set, a message box is not shown: this gives its answer instead
    // ("yes", "no", a search text, or empty).
    std::function<QString(int kind, const QString& text)> answer;
    // When 0 or more, catalogue writes stop after that many bytes, as on a
    // full disk.
    qint64 writeFaultAfterBytes = -1;
    // Where set, asked before each catalogue write (and each new file): the
    // number of bytes after which that write stops, or -1 to let it through.
    std::function<qint64(const QString& path)> writeFault;
    // Every catalogue file written, in order.
    QStringList filesWritten;
};
