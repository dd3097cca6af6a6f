#pragma once

#include "dialogs/Chrome.h"

class Module1;
class PictureButton;
class QAbstractItemModel;
class QListView;

// The navigator: a narrow window beside the main window that lists every disc.
// Double-click or Enter shows a disc; the main window's Ctrl shortcuts are
// passed on to it.
class frmNavi : public RoundedWindow
{
    Q_OBJECT
public:
    // discs: the list of discs it shows, kept by the main window.
    frmNavi(const Module1& state, QAbstractItemModel* discs);

    // Re-sizes the window for DiscCount; called as the list gains or loses discs.
    void cmdRefresh();

    void lstNavi_DblClick();
    void picClose_MouseUp(int Button, int Shift, float X, float Y);

    QListView* lstNavi;
    QWidget* picNavibot;
    PictureButton* picClose;

signals:
    // The user chose disc row in the list to be shown.
    void discChosen(int row, const QString& name);
    // A main window shortcut typed in the list.
    void shortcutTyped(QKeyCombination key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sizeToDiscs();
    const Module1& m_state;
};
