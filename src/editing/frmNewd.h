#pragma once

#include "dialogs/Chrome.h"

class Module1;
class PictureButton;
class QLabel;
class QLineEdit;

// The new disc dialog: a name and a planned number of tracks. It stays loaded
// between openings and keeps what was typed when it is cancelled.
class frmNewd : public RoundedWindow
{
    Q_OBJECT
public:
    explicit frmNewd(Module1& state, QWidget* owner);

    void picSave_MouseUp(int Button, int Shift, float X, float Y);
    void picCancel_MouseUp(int Button, int Shift, float X, float Y);

    QLabel* lblDisc;
    QLineEdit* txtDisc;
    QLabel* lblTracks;
    QLineEdit* txtTracks;
    PictureButton* picSave;
    PictureButton* picCancel;

signals:
    // The disc is in the catalogue with an empty file: its tracks are next.
    void discCreated();

private:
    bool refuse(int kind, const QString& text, QLineEdit* focus);
    Module1& m_state;
};
