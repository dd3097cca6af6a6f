#pragma once

#include "dialogs/Chrome.h"

class Module1;
class PictureButton;
class QListWidget;

// What the remove dialog is opened for.
enum class RemoveMode { Disc, Track, Edit, SearchResults };

// One small dialog for four jobs: remove a disc, remove a track, choose a
// track to edit, browse the search hits.
class frmRemove : public RoundedWindow
{
    Q_OBJECT
public:
    frmRemove(Module1& state, RemoveMode mode, QWidget* owner);

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
    // The track in row is chosen for editing: the track window is to open.
    void editRequested(int row);
    // Hit k (from 1) is to be shown in its disc.
    void hitChosen(int k);

private:
    void Form_Load();
    int chosen() const;
    bool noneChosen();
    void leave();

    Module1& m_state;
    const RemoveMode m_job;
};
