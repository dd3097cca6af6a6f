#pragma once

#include "dialogs/Chrome.h"

class Module1;
class PictureButton;
class QListWidget;

// The navigator: a narrow window beside the main window that lists every disc.
// Double-click or Enter shows a disc; the main window's Ctrl shortcuts are
// passed on to it.
class frmNavi : public RoundedWindow
{
    Q_OBJECT
public:
    explicit frmNavi(Module1& state);

    // Re-sizes the window for DiscCount and brings the list in line after a disc
    // was added (appended) or removed (DiscRemoved, RemovedDisc).
    void cmdRefresh();
    // The whole list again, after the catalogue was read anew.
    void refill();
    // Marks the disc on show in the list (-1: none).
    void markShown(int row);

    void lstNavi_DblClick();
    void picClose_MouseUp(int Button, int Shift, float X, float Y);

    QListWidget* lstNavi;
    QWidget* picNavibot;
    PictureButton* picClose;

signals:
    // The user chose disc row in the list to be shown.
    void discChosen(int row, const QString& name);
    // A main window shortcut typed in the list, as its character code.
    void shortcutTyped(int keyAscii);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sizeToDiscs();
    Module1& m_state;
    int m_marked = -1;
};
