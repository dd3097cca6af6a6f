#pragma once

#include "dialogs/Chrome.h"
#include "editing/frmNewt.h"

#include <QPointer>

#include <array>

class Module1;
class PictureButton;
class frmNavi;
class frmNewd;

class QComboBox;
class QLabel;
class QLineEdit;
class DiscList;
class QScrollArea;
class QTimer;
struct Change;

// The main window: the disc chooser, the shown disc's tracks in up to 25 rows,
// its total playing time, and the program's commands.
class frmMain : public RoundedWindow
{
    Q_OBJECT
public:
    static constexpr int Rows = 25;
    static constexpr int Width = 718;

    explicit frmMain(Module1& state);
    ~frmMain() override;

    // Start-up: screen check, shape, settings, the index, the chooser and the
    // navigator. False when the program must end instead of showing the window.
    bool Form_Load();

    // Disc view
    void cmbDisc_Click();
    void cmdUpdate();
    bool DiscSelect();
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
    bool Form_KeyPress(int keyAscii) override;

    // Search: asks for a text and records every hit of it in the catalogue.
    void Searchsub();

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
    // After a change from outside: the index and the shown disc are read
    // again, typed comments kept.
    void reloadCatalogue();

    // The navigator, made when it is first wanted.
    frmNavi* navigator()
    {
        ensureNavigator();
        return m_navi;
    }
    // The new disc dialog once it was first opened, and the open track window.
    frmNewd* newDiscDialog() const { return m_newd; }
    frmNewt* trackEntry() const { return m_newt; }

    // Reads the shown disc again from its file (after a dropped new disc or a
    // failed write left Tracks out of line with it).
    void reloadShownDisc();

    // Controls, named as the window knows them.
    QComboBox* cmbDisc;
    QLabel* lblDisc;
    QLabel* lblTotlen;
    std::array<QLabel*, Rows> lblLabel{};
    std::array<QLabel*, Rows> lblProducer{};
    std::array<QLabel*, Rows> lblTitle{};
    std::array<QLabel*, Rows> lblDate{};
    std::array<QLabel*, Rows> lblLength{};
    std::array<QLabel*, Rows> lblFormat{};
    std::array<QLineEdit*, Rows> txtComments{};
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

    // How many times a disc file was loaded into the view (tests count loads).
    int discLoads() const { return m_discLoads; }

signals:
    // The program ends: Quit, or a start-up that cannot go on.
    void programEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void fillChooser();
    void ensureNavigator();
    void setChooserIndex(int row);
    void selectDisc(int row);
    void restoreShownDisc();
    bool isShown(int row) const;
    bool loadDisc();
    void sizeToRows(int tracks);
    void showTotal(bool remaining);
    void nameShownDisc();
    // Tells the user what a change came to; true when it is done.
    bool report(const Change& change);
    void markCell(int field, int row, bool on);
    void markHit();
    QWidget* cell(int field, int row) const;
    void commentEdited(int index);
    bool firstRun(bool folderMissing);
    bool takeLock();
    bool endWith(int kind, const QString& text);
    bool saveCommentsFirst();
    bool refuseWithoutTracks();
    bool refuseIncomplete();
    void openTrackEntry();
    void openRemove();

    Module1& m_state;
    frmNavi* m_navi = nullptr;
    frmNewd* m_newd = nullptr;
    QPointer<frmNewt> m_newt;
    // The disc whose tracks the rows show and Tracks holds: row, name and path.
    struct Shown {
        int row = -1;
        QString name;
        QString path;
    } m_shown;
    bool m_rowsShown = false;
    // From the start of a new disc's entry until a disc is loaded again,
    // Tracks holds the new disc while the rows still show the old one.
    bool m_entryHoldsTracks = false;
    bool tracksAreShownDisc() const;
    int m_discLoads = 0;
    QTimer* m_commentTimer = nullptr;
    QScrollArea* m_rowsArea = nullptr;
    DiscList* m_discs = nullptr; // the chooser's and the navigator's list
    bool m_overfull = false;
};
