#pragma once

#include "main/frmMain.h"
#include "store/Module1.h"

#include <QPointer>
#include <QRandomGenerator>

#include <memory>

class frmNewt;

// Drives the real program through random user actions, one Save, Cancel or
// removal at a time, through the windows' own handlers. The same seed on the
// same folder gives the same actions, so a run can be replayed.
class CatalogueDriver
{
public:
    CatalogueDriver(const QString& programDir, quint32 seed);
    ~CatalogueDriver();

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
    bool selectDisc(int row);
    frmNewt* trackWindow(); // connected as the main window connects it
    void newDisc();
    void typeTrack(frmNewt* entry);
    void entryStep();
    void addTrack();
    void editTrack();
    void comment();
    void removeTrack();
    void removeDisc();

    Module1 m_state;
    std::unique_ptr<frmMain> m_main;
    QRandomGenerator m_random;
    QPointer<frmNewt> m_entry;
    QStringList m_answers;
    QString m_action;
    int m_serial = 0;
};
