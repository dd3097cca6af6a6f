#pragma once

#include "dialogs/Chrome.h"

class Module1;
class PictureButton;
class QListWidget;

// One small dialog for four jobs, chosen by RemoveMode: remove a disc (0),
// remove a track (1), choose a track to edit (2), browse search hits (3).
class frmRemove : public RoundedWindow
{
    Q_OBJECT
public:
    frmRemove(Module1& state, QWidget* owner);

    void cmdEdit();
    void cmdRemt();
    void cmdRemd();
    void cmdShow();
    void cmdClose();
    void lstRemove_DblClick();
    void picRemdisc_MouseUp(int Button, int Shift, float X, float Y);
    void picRemtrack_MouseUp(int Button, int Shift, float X, float Y);
    void picEdit_MouseUp(int Button, int Shift, float X, float Y);
    void picShow_MouseUp(int Button, int Shift, float X, float Y);
    void picCancel_MouseUp(int Button, int Shift, float X, float Y);
    void picClose_MouseUp(int Button, int Shift, float X, float Y);

    // A line of the search results for hit k (from 1).
    static QString hitLine(int k, const QString& text, const QString& disc);

    QListWidget* lstRemove;
    PictureButton* picRemdisc;
    PictureButton* picRemtrack;
    PictureButton* picEdit;
    PictureButton* picShow;
    PictureButton* picCancel;
    PictureButton* picClose;

signals:
    void updateRequested();
    // A track is chosen for editing: the track window is to open.
    void editRequested();
    // A file was changed outside: the catalogue is to be read again.
    void changedOutside();

private:
    void Form_Load();
    int chosen() const;
    bool noneChosen();
    void leave();

    Module1& m_state;
    int m_job;
};
