#pragma once

#include "dialogs/Chrome.h"
#include "editing/frmNewt.h"
#include "editing/frmRemove.h"
#include "main/TrackRows.h"

#include <QPointer>

class Module1;
class PictureButton;
class frmNavi;
class frmNewd;

class QComboBox;
class QLabel;
class DiscList;
class QTimer;

// The main window: the disc chooser, the shown disc's tracks in up to 25 rows,
// its total playing time, and the program's commands. It asks the catalogue
// and draws what the catalogue's signals tell; it decides nothing of the
// catalogue itself.
class frmMain : public RoundedWindow
{
    Q_OBJECT
public:
    static constexpr int Rows = TrackRows::Rows;
    static constexpr int Width = 718;

    explicit frmMain(Module1& state);
    ~frmMain() override;

    // Start-up: screen check, shape, the catalogue opened (with the first
    // run's questions), the chooser and the navigator. False when the program
    // must end instead of showing the window.
    bool Form_Load();

    // Disc view
    void cmbDisc_Click();
    // Draws the shown disc: name, rows, height, total and the hit's mark.
    void cmdUpdate();
    // Shows the disc in row (typed comments written first); false when it
    // could not be shown (the message said why).
    bool DiscSelect(int row);
    void lblTotlen_Click();

    // Commands
    void picNewd_MouseUp(int Button, int Shift, float X, float Y);
    void picNewt_MouseUp(int Button, int Shift, float X, float Y);
    void picEdit_MouseUp(int Button, int Shift, float X, float Y);
    void picRemd_MouseUp(int Button, int Shift, float X, float Y);
    void picRemt_MouseUp(int Button, int Shift, float X, float Y);
    void picSearch_MouseUp(int Button, int Shift, float X, float Y);
    void picPrint_MouseUp(int Button, int Shift, float X, float Y);
    void picOption_MouseUp(int Button, int Shift, float X, float Y);
    void picNavi_MouseUp(int Button, int Shift, float X, float Y);
    void picInfo_MouseUp(int Button, int Shift, float X, float Y);
    void picMini_MouseUp(int Button, int Shift, float X, float Y);
    void picQuit_MouseUp(int Button, int Shift, float X, float Y);
    bool Form_KeyPress(QKeyCombination key) override;
    // Ctrl+Z and Ctrl+Y: the last change taken back, or done again.
    void cmdUndo();
    void cmdRedo();
    // A spreadsheet dropped on the window: its discs added, once the user agreed.
    void cmdImport(const QString& file);

    // Search: asks for a text and records every hit of it in the catalogue;
    // false when nothing was asked for or found.
    bool Searchsub();

    // Comments
    void txtComments_LostFocus(int Index);
    // Writes the shown disc's file with the typed comments; false (after
    // telling the user) when the write failed, the comments then wait on.
    bool cmdComments();
    // How long after the typing stops a comment is written.
    static constexpr int CommentDelay = 2000;
    QTimer* commentTimer() const { return m_commentTimer; }
    // The program is ending without Quit (a signal, the end of the session,
    // the display gone): typed comments are written without asking anyone.
    void saveForExit();
    // The catalogue's lock goes when the program ends in an exit handler.
    void releaseCatalogue();

    // The navigator, made when it is first wanted.
    frmNavi* navigator()
    {
        ensureNavigator();
        return m_navi;
    }
    // The new disc dialog once it was first opened, and the open track window.
    frmNewd* newDiscDialog() const { return m_newd; }
    frmNewt* trackEntry() const { return m_newt; }
    // How many times the rows were drawn (tests count redraws).
    int redraws() const { return m_redraws; }

    // Controls, named as the window knows them.
    QComboBox* cmbDisc;
    QLabel* lblDisc;
    QLabel* lblTotlen;
    TrackRows* rows;
    PictureButton* picInfo;
    PictureButton* picNewd;
    PictureButton* picRemd;
    PictureButton* picPrint;
    PictureButton* picSearch;
    PictureButton* picOption;
    PictureButton* picMini;
    PictureButton* picQuit;
    PictureButton* picNewt;
    PictureButton* picRemt;
    PictureButton* picEdit;
    PictureButton* picNavi;

    QString TotalText;
    QString RemainingText;
    bool ShowRemaining = false;

signals:
    // The program ends: Quit, or a start-up that cannot go on.
    void programEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    // The row of the disc on show; -1 when none is.
    int shownRow() const;
    void ensureNavigator();
    void sizeToRows(int tracks);
    void showTotal(bool remaining);
    void nameShownDisc();
    void askAboutShortDisc();
    void showHit(int k);
    void markHit();
    void commentEdited(int index);
    bool firstRun(bool folderMissing);
    bool endWith(int kind, const QString& text);
    bool saveCommentsFirst();
    bool refuseWithoutTracks();
    bool refuseIncomplete();
    void openTrackEntry(frmNewt::Mode mode, int editRow = -1);
    // True when the dialog did what it was opened for.
    bool openRemove(RemoveMode mode);

    Module1& m_state;
    frmNavi* m_navi = nullptr;
    frmNewd* m_newd = nullptr;
    QPointer<frmNewt> m_newt;
    int m_mainHeight = 0; // twips, as the screen check gives it
    int m_hit = 0;        // the search hit on show, from 1; 0 none
    int m_redraws = 0;
    QTimer* m_commentTimer = nullptr;
    DiscList* m_discs = nullptr; // the chooser's and the navigator's list
    bool m_overfull = false;
};
