#pragma once

#include "main/frmMain.h"
#include "store/Module1.h"

#include <QRandomGenerator>

#include <memory>

// Drives the real program through random user actions, one at a time: the
// catalogue's operations as the windows ask for them, and comments typed in
// the main window's rows. The same seed on the same folder gives the same
// actions, so a run can be replayed.
class CatalogueDriver
{
public:
    CatalogueDriver(const QString& programDir, quint32 seed);

    bool start();
    // One user action; at most one write of each catalogue file.
    void step();
    QString lastAction() const { return m_action; }
    // A file the last action wrote more than once: a kill between the two
    // writes would leave a state that is neither before nor after it.
    QString writtenTwice() const;

private:
    // Shows a disc; true when that was an action of its own (a short disc
    // whose records the user kept, which rewrites the index).
    bool showDisc(int row);
    catalogue::Track typedTrack();
    void entryStep();
    void comment();

    TestHooks m_hooks;
    Module1 m_state;
    std::unique_ptr<frmMain> m_main;
    QRandomGenerator m_random;
    QStringList m_answers;
    QString m_action;
    int m_serial = 0;
};
