#include "main/frmMain.h"

#include "dialogs/ElidedLabel.h"
#include "dialogs/PictureButton.h"
#include "dialogs/frmMsgbox.h"
#include "main/CatalogueSearch.h"
#include "main/DiscList.h"
#include "main/Screenres.h"
#include "navigator/frmNavi.h"
#include "store/Codepage.h"
#include "store/Module1.h"
#include "store/TimeText.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

#include <cstdio>

using catalogue::Track;

namespace {

constexpr int twips(int t)
{
    return t / TwipsPerPixel;
}

// Where the rows begin in the window, in pixels.
constexpr int RowsTop = 1440 / TwipsPerPixel;

const QString TotalTip = QStringLiteral("Total playing time");
const QString FreeTip = QStringLiteral("Time still free on the disc");

// The panel that holds the track rows, with a faint band behind each row.
class RowBands : public QWidget
{
public:
    explicit RowBands(QWidget* parent) : QWidget(parent)
    {
        resize(702, twips(1470 + 360 * 24 + 285) - RowsTop + 2);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < frmMain::Rows; ++i) {
            painter.setBrush(QColor(255, 255, 255, i % 2 == 0 ? 11 : 5));
            painter.drawRoundedRect(QRectF(36, twips(1470 + 360 * i) - RowsTop, 648, 19), 3, 3);
        }
    }
    // A press between the rows is a press on the window: it drags it.
    void mousePressEvent(QMouseEvent* event) override { event->ignore(); }
};

// The main window's height in pixels for a number of shown tracks:
// 2310 + 360 x (tracks - 1) twips.
int heightFor(int tracks)
{
    return (2310 + 360 * (tracks - 1)) / TwipsPerPixel;
}

} // namespace

frmMain::frmMain(Module1& state)
    : RoundedWindow(QStringLiteral("main"), QSize(Width, 610), 18), m_state(state)
{
    setWindowTitle(QStringLiteral("Platterbook"));
    setObjectName(QStringLiteral("frmMain"));
    buildControls();
    m_commentTimer = new QTimer(this);
    m_commentTimer->setSingleShot(true);
    m_commentTimer->setInterval(CommentDelay);
    connect(m_commentTimer, &QTimer::timeout, this, [this] {
        if (m_state.CommentsDirty == 1)
            cmdComments();
    });
}

frmMain::~frmMain()
{
    delete m_navi;
}

void frmMain::buildControls()
{
    setStyleSheet(dialogStyleSheet() +
                  QStringLiteral(
                      "QLabel { color: #e8edf4; }"
                      "QLabel[overfull=\"true\"] { color: #ff8a6e; }"
                      "QLabel[cell=\"true\"] { color: #dfe6ef; padding-left: 1px; }"
                      "QLabel[cell=\"true\"][year=\"true\"] { padding-left: 0; }"
                      "QLabel[marked=\"true\"] { border: 1px solid #f2a93b; }"
                      "QLineEdit { background: #1a2130; color: #e8edf4; border: 1px solid #10151e;"
                      "  border-radius: 3px; padding: 0 3px; selection-background-color: #f2a93b;"
                      "  selection-color: #2a1a05; }"
                      "QLineEdit:focus { border-color: #f2a93b; }"
                      "QLineEdit[marked=\"true\"] { background: #52637f; }"
                      "QLineEdit:read-only { color: #9fb0c8; }"
                      "QComboBox { background: #1a2130; color: #e8edf4; border: 1px solid #10151e;"
                      "  border-radius: 3px; padding: 1px 6px; }"
                      "QComboBox QAbstractItemView { background: #1a2130; color: #e8edf4;"
                      "  selection-background-color: #f2a93b; selection-color: #2a1a05; }"
                      "QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }"));

    cmbDisc = new ElidedComboBox(this);
    m_discs = new DiscList(m_state, this);
    cmbDisc->setModel(m_discs);
    cmbDisc->setGeometry(twips(480), twips(840), twips(3975), twips(360));
    cmbDisc->setAccessibleName(QStringLiteral("Disc"));
    cmbDisc->setMaxVisibleItems(20);
    connect(cmbDisc, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            cmbDisc_Click();
    });

    lblDisc = new ElidedLabel(this);
    lblDisc->setGeometry(twips(4200), twips(240), 96, 17);
    lblDisc->setAccessibleName(QStringLiteral("Shown disc"));
    QFont bold = font();
    bold.setWeight(QFont::DemiBold);
    lblDisc->setFont(bold);

    // The total sits beside the navigator button, clear of the Print and
    // Search buttons.
    lblTotlen = new QLabel(this);
    lblTotlen->setGeometry(340, 60, 44, 19);
    lblTotlen->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblTotlen->setCursor(Qt::PointingHandCursor);
    lblTotlen->setToolTip(TotalTip);
    lblTotlen->setAccessibleName(TotalTip);
    lblTotlen->installEventFilter(this);

    // The rows scroll inside the window when it cannot grow tall enough for
    // them on its screen; their bands move with them.
    m_rowsArea = new QScrollArea(this);
    m_rowsArea->setFrameShape(QFrame::NoFrame);
    m_rowsArea->setFocusPolicy(Qt::NoFocus);
    m_rowsArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_rowsArea->setWidgetResizable(false);
    m_rowsArea->setProperty("surface", true);
    m_rowsArea->viewport()->setProperty("surface", true);
    m_rowsArea->setAccessibleName(QStringLiteral("Tracks"));
    auto* panel = new RowBands(m_rowsArea);
    panel->setProperty("surface", true);
    m_rowsArea->setWidget(panel);
    m_rowsArea->move(0, RowsTop);

    for (int i = 0; i < Rows; ++i) {
        const int top = twips(1470 + 360 * i) - RowsTop;
        auto label = [&](int left, int width) {
            auto* l = new ElidedLabel(panel);
            l->setGeometry(twips(left), top, twips(width), twips(285));
            l->setProperty("cell", true);
            l->hide();
            return l;
        };
        lblLabel[i] = label(615, 1470);
        lblProducer[i] = label(2160, 1755);
        lblTitle[i] = label(4080, 2295);
        // Year and format reach to the next column, so that "1973" and
        // "Single" show whole in the program's font; the length stands at
        // the right of its cell, clear of the year.
        lblDate[i] = label(6480, 480);
        lblDate[i]->setProperty("year", true);
        lblLength[i] = label(6960, 495);
        lblLength[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblLength[i]->setIndent(3);
        lblFormat[i] = label(7560, 705);
        auto* box = new QLineEdit(panel);
        box->setMaxLength(TextBoxLimit);
        box->setGeometry(twips(8280), twips(1440 + 360 * i) - RowsTop, twips(1950), twips(285));
        box->setAccessibleName(QStringLiteral("Comments of track %1").arg(i + 1));
        box->hide();
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this, i] { commentEdited(i); });
        txtComments[i] = box;
    }

    struct ButtonEntry {
        PictureButton** button;
        const char* art;
        int left, top, releaseW, releaseH;
        const char* name;
        const char* tip;
        void (frmMain::*handler)(int, int, float, float);
    };
    const ButtonEntry buttons[] = {
        {&picInfo, "main_info", 90, 90, 17, 16, "About", "About Platterbook",
         &frmMain::picInfo_MouseUp},
        {&picNewd, "main_newd", 480, 180, 60, 35, "New disc", "Ctrl-D", &frmMain::picNewd_MouseUp},
        {&picRemd, "main_remd", 2040, 180, 60, 35, "Remove disc", "Remove a disc (Ctrl-R)",
         &frmMain::picRemd_MouseUp},
        {&picPrint, "main_print", 5700, 180, 81, 26, "Print", "Print (Ctrl-P)",
         &frmMain::picPrint_MouseUp},
        {&picSearch, "main_search", 7140, 180, 81, 26, "Search", "Search the catalogue (Ctrl-S)",
         &frmMain::picSearch_MouseUp},
        {&picOption, "main_option", 8580, 180, 81, 26, "Options", "Options",
         &frmMain::picOption_MouseUp},
        {&picMini, "main_mini", 10200, 75, 10, 10, "Minimise", "Minimise",
         &frmMain::picMini_MouseUp},
        {&picQuit, "main_quit", 10440, 75, 10, 10, "Quit", "Ctrl-W", &frmMain::picQuit_MouseUp},
        {&picNewt, "main_newt", 5775, 720, 60, 34, "New track", "Add a track (Ctrl-N)",
         &frmMain::picNewt_MouseUp},
        {&picRemt, "main_remt", 7290, 720, 60, 34, "Remove track", "Remove a track (Ctrl-T)",
         &frmMain::picRemt_MouseUp},
        {&picEdit, "main_edit", 8820, 720, 59, 33, "Edit track", "Edit a track (Ctrl-E)",
         &frmMain::picEdit_MouseUp},
        {&picNavi, "main_navi", 4560, 840, 32, 25, "Navigator", "Navigator (Ctrl-C)",
         &frmMain::picNavi_MouseUp},
    };
    for (const ButtonEntry& entry : buttons) {
        auto* b = new PictureButton(QString::fromLatin1(entry.art),
                                    QSize(entry.releaseW, entry.releaseH), this);
        b->move(twips(entry.left), twips(entry.top));
        b->setAccessibleName(QString::fromLatin1(entry.name));
        b->setToolTip(QString::fromLatin1(entry.tip));
        connect(b, &PictureButton::MouseUp, this, entry.handler);
        *entry.button = b;
    }
}

// ---------------------------------------------------------------- start-up

bool frmMain::endWith(int kind, const QString& text)
{
    frmMsgbox::tell(m_state, this, kind, text);
    m_state.catalogue().unlock();
    emit programEnded();
    return false;
}

bool frmMain::Form_Load()
{
    if (!Screenres(m_state, this)) {
        emit programEnded();
        return false;
    }
    resizeWindow(Width, twips(m_state.MainHeight));
    m_rowsArea->resize(702, height() - RowsTop - 6);
    placeAtTwips(4005, 1800);
    m_state.NaviSetting = m_state.settings().navi();

    m_state.IndexPath = m_state.dataDir() + QStringLiteral("index.txt");
    const QFileInfo data(QDir::cleanPath(m_state.dataDir()));
    if (data.exists() && !data.isDir())
        return endWith(1, QStringLiteral("'%1' is a file, but Platterbook keeps its catalogue in a "
                                         "folder of that name. Please move the file away.")
                              .arg(QDir::toNativeSeparators(data.filePath())));
    if (!data.exists())
        return firstRun(true);
    if (!takeLock())
        return false;

    const catalogue::IndexRead read = m_state.catalogue().readIndex();
    if (read.status == catalogue::IndexRead::Missing)
        return firstRun(false);
    if (read.status != catalogue::IndexRead::Ok)
        return endWith(1, m_state.catalogue().indexTrouble(read) +
                              QStringLiteral(". Platterbook will close without changing it."));
    if (const QString notice = m_state.catalogue().countNotice(read); !notice.isEmpty())
        frmMsgbox::tell(m_state, this, 3, notice);
    if (QFileInfo(m_state.IndexPath).size() == 0) {
        // A new, empty catalogue: nothing more to load until the first disc.
        return true;
    }
    m_state.Discs = read.discs;
    m_state.DiscCount = int(read.discs.size());
    fillChooser();
    // The navigator is made when it is first shown: it keeps no list of its
    // own, so a hidden one would only wait.
    if (m_state.NaviSetting == QLatin1String("1")) {
        ensureNavigator();
        m_navi->show();
    }
    m_state.CurrentDisc = -1;
    nameShownDisc();
    return true;
}

bool frmMain::firstRun(bool folderMissing)
{
    m_state.MsgAnswer.clear();
    frmMsgbox::tell(m_state, this, 5,
                    QStringLiteral("Is this the first time you have used this program?"));
    if (m_state.MsgAnswer != QLatin1String("yes")) {
        return endWith(1,
                       folderMissing
                           ? QStringLiteral("You must ensure the folder named 'Data' is contained "
                                            "within the same folder as this application.")
                           : QStringLiteral("You must ensure the file named 'Index' can be found "
                                            "within the folder named 'Data' in the same folder "
                                            "as this application."));
    }
    m_state.ErrorNumber = folderMissing ? 76 : 53;
    frmMsgbox::tell(
        m_state, this, 2,
        folderMissing ? QStringLiteral("The data file named 'Index' will be placed inside a folder "
                                       "named 'Data' in the same folder as this application.  You "
                                       "can then proceed to create your compilations!")
                      : QStringLiteral("The data file named 'Index' will be placed inside the "
                                       "folder named 'Data'.  You can then proceed to create your "
                                       "compilations!"));
    m_state.ErrorNumber = 0;
    Catalogue& files = m_state.catalogue();
    if (folderMissing) {
        if (const QString problem = files.makeDataFolder(); !problem.isEmpty())
            return endWith(1, problem);
        if (!takeLock())
            return false;
    }
    if (const QString problem = files.createIndex(); !problem.isEmpty())
        return endWith(1, problem);
    return true;
}

bool frmMain::takeLock()
{
    QString host;
    switch (m_state.catalogue().lock(&host)) {
    case Catalogue::Lock::Taken:
    case Catalogue::Lock::Unwritable: // nothing can be written there anyway
        return true;
    case Catalogue::Lock::HeldHere:
        return endWith(
            1, QStringLiteral("This catalogue is already open in another Platterbook window."));
    case Catalogue::Lock::HeldElsewhere:
        if (frmMsgbox::askYes(m_state, this,
                              QStringLiteral("This catalogue is open in Platterbook on the "
                                             "computer '%1', or was when it stopped. Open it "
                                             "here anyway?")
                                  .arg(host)) &&
            m_state.catalogue().takeOverLock())
            return true;
        m_state.catalogue().unlock();
        emit programEnded();
        return false;
    }
    return true;
}

void frmMain::fillChooser()
{
    const QSignalBlocker block(cmbDisc);
    m_discs->refill();
    cmbDisc->setCurrentIndex(-1);
}

void frmMain::ensureNavigator()
{
    if (m_navi)
        return;
    m_navi = new frmNavi(m_state, m_discs);
    connect(m_navi, &frmNavi::shortcutTyped, this, [this](int code) { Form_KeyPress(code); });
    connect(m_navi, &frmNavi::discChosen, this, [this](int row, const QString& name) {
        // Double-click in the navigator: the disc on show is not loaded again.
        if (lblDisc->text() == name && isShown(row))
            return;
        m_state.CurrentDisc = row;
        m_state.DiscPath = m_state.discPathFor(name);
        setChooserIndex(row);
        DiscSelect();
    });
}

// ---------------------------------------------------------------- commands

void frmMain::picMini_MouseUp(int, int, float X, float Y)
{
    if (!picMini->release(X, Y))
        return;
    if (m_state.CommentsDirty == 1 && !cmdComments())
        return;
    showMinimized();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Closed by the window system (Alt+F4, logging out): as Quit.
    if (m_state.CommentsDirty == 1 && !cmdComments()) {
        event->ignore();
        return;
    }
    event->accept();
    emit programEnded();
}

void frmMain::picQuit_MouseUp(int, int, float X, float Y)
{
    if (!picQuit->release(X, Y))
        return;
    // Nothing typed may be lost: a comment that cannot be written keeps the
    // program open.
    if (m_state.CommentsDirty == 1 && !cmdComments())
        return;
    emit programEnded();
}

bool frmMain::Form_KeyPress(int keyAscii)
{
    switch (keyAscii) {
    case 3:
        picNavi_MouseUp(1, 0, 0, 0);
        return false; // a text box still copies
    case 4:
        picNewd_MouseUp(1, 0, 0, 0);
        return true;
    case 5:
        picEdit_MouseUp(1, 0, 0, 0);
        return true;
    case 14:
        picNewt_MouseUp(1, 0, 0, 0);
        return true;
    case 16:
        picPrint_MouseUp(1, 0, 0, 0);
        return true;
    case 18:
        picRemd_MouseUp(1, 0, 0, 0);
        return true;
    case 19:
        picSearch_MouseUp(1, 0, 0, 0);
        return true;
    case 20:
        picRemt_MouseUp(1, 0, 0, 0);
        return true;
    case 23:
        picQuit_MouseUp(1, 0, 0, 0);
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- disc view

bool frmMain::isShown(int row) const
{
    return row >= 0 && row == m_shown.row && row < m_state.DiscCount &&
           m_state.Discs.at(row).name == m_shown.name && m_state.CurrentDisc == row;
}

void frmMain::setChooserIndex(int row)
{
    const QSignalBlocker block(cmbDisc);
    cmbDisc->setCurrentIndex(row);
}

void frmMain::cmbDisc_Click()
{
    const int row = cmbDisc->currentIndex();
    if (row < 0 || row >= m_state.DiscCount || isShown(row))
        return;
    m_state.CurrentDisc = row;
    m_state.DiscPath = m_state.discPathFor(cmbDisc->currentText());
    DiscSelect();
}

void frmMain::restoreShownDisc()
{
    // After a new disc's entry Tracks holds that disc: the one shown before
    // is read again.
    if (m_entryHoldsTracks && m_shown.row >= 0) {
        reloadShownDisc();
        return;
    }
    // Back to the disc shown before, if it is still in the catalogue.
    int row = -1;
    if (m_shown.row >= 0) {
        for (int r = 0; r < m_state.DiscCount; ++r) {
            if (m_state.Discs.at(r).name == m_shown.name) {
                row = r;
                break;
            }
        }
    }
    if (row >= 0) {
        m_state.CurrentDisc = row;
        m_state.DiscPath = m_shown.path;
        m_shown.row = row;
        setChooserIndex(row);
        return;
    }
    m_shown = {};
    m_state.CurrentDisc = -1;
    m_state.Tracks.clear();
    m_state.TrackCount = 0;
    m_state.DiscIncomplete = false;
    m_state.catalogue().forgetTracks();
    lblDisc->clear();
    setChooserIndex(-1);
    cmdUpdate();
}

bool frmMain::DiscSelect()
{
    // Comments typed on the disc shown so far go to that disc's file first.
    if (m_state.CommentsDirty == 1 && !cmdComments()) {
        restoreShownDisc();
        return false;
    }
    return loadDisc();
}

bool frmMain::loadDisc()
{
    const int row = m_state.CurrentDisc;
    if (row < 0 || row >= m_state.DiscCount) {
        restoreShownDisc();
        return false;
    }
    const catalogue::DiscRow disc = m_state.Discs.at(row);
    const std::optional<int> count = catalogue::countOf(disc.count);
    if (!count || *count < 0 || *count > catalogue::MaxTracks) {
        frmMsgbox::tell(m_state, this, 1,
                        QStringLiteral("The disc '%1' cannot be shown: its number of tracks, '%2', "
                                       "is not a number from 0 to 25.")
                            .arg(disc.name, disc.count));
        restoreShownDisc();
        return false;
    }
    const catalogue::DiscRead read = m_state.catalogue().readDisc(m_state.DiscPath, *count);
    if (read.status == catalogue::DiscRead::Missing ||
        read.status == catalogue::DiscRead::Unreadable) {
        frmMsgbox::tell(
            m_state, this, 1,
            QStringLiteral("The disc '%1' cannot be shown: its file '%2' could not be "
                           "read (%3).")
                .arg(disc.name, QDir::toNativeSeparators(m_state.DiscPath), read.problem));
        restoreShownDisc();
        return false;
    }
    ++m_discLoads;
    lblDisc->setText(disc.name);
    m_shown = {row, disc.name, m_state.DiscPath};
    m_entryHoldsTracks = false;
    if (cmbDisc->currentIndex() != row)
        setChooserIndex(row);
    cmdUpdate();
    if (!m_state.DiscIncomplete)
        return true;

    // The file holds fewer whole records than its count, as when the entry of
    // a new disc was cut off. Keeping them only corrects the count.
    if (frmMsgbox::askYes(
            m_state, this,
            QStringLiteral("Do you want to make a disc from the data you have entered "
                           "this far?")) &&
        isShown(row)) {
        if (report(m_state.catalogue().keepShortDisc(row)))
            cmdUpdate();
    }
    return true;
}

bool frmMain::report(const Change& change)
{
    if (!change.problem.isEmpty())
        frmMsgbox::tell(m_state, this, 1, change.problem);
    if (change.changedOutside)
        reloadCatalogue();
    return change.done;
}

void frmMain::reloadCatalogue()
{
    if (const QString problem = m_state.catalogue().reload(); !problem.isEmpty()) {
        frmMsgbox::tell(m_state, this, 1, problem);
        return;
    }
    fillChooser();
    if (m_navi)
        m_navi->cmdRefresh();
    // While a new disc's tracks are typed, Tracks holds them: the disc on
    // show is read again when the entry ends.
    if (m_entryHoldsTracks)
        return;
    const QString name = m_shown.name;
    m_shown = {};
    int row = -1;
    for (int r = 0; r < m_state.DiscCount && !name.isEmpty(); ++r)
        if (m_state.Discs.at(r).name == name)
            row = r;
    if (row < 0) {
        m_state.catalogue().dropComments();
        restoreShownDisc();
        return;
    }
    // Read again without writing first: typed comments wait on in their boxes.
    m_state.CurrentDisc = row;
    m_state.DiscPath = m_state.discPathFor(name);
    setChooserIndex(row);
    loadDisc();
}

void frmMain::reloadShownDisc()
{
    int row = -1;
    for (int r = 0; r < m_state.DiscCount && m_shown.row >= 0; ++r)
        if (m_state.Discs.at(r).name == m_shown.name)
            row = r;
    m_shown = {};
    if (row < 0) {
        restoreShownDisc();
        return;
    }
    setChooserIndex(row);
    m_state.CurrentDisc = row;
    m_state.DiscPath = m_state.discPathFor(m_state.Discs.at(row).name);
    DiscSelect();
}

void frmMain::selectDisc(int row)
{
    if (row < 0 || row >= m_state.DiscCount)
        return;
    if (isShown(row) && cmbDisc->currentIndex() == row && lblDisc->text() == m_shown.name)
        return;
    setChooserIndex(row);
    m_state.CurrentDisc = row;
    m_state.DiscPath = m_state.discPathFor(m_state.Discs.at(row).name);
    DiscSelect();
}

QWidget* frmMain::cell(int field, int row) const
{
    if (row < 0 || row >= Rows)
        return nullptr;
    switch (field) {
    case 0:
        return lblLabel[row];
    case 1:
        return lblProducer[row];
    case 2:
        return lblTitle[row];
    case 3:
        return lblDate[row];
    case 4:
        return lblLength[row];
    case 5:
        return lblFormat[row];
    case 6:
        return txtComments[row];
    default:
        return nullptr;
    }
}

void frmMain::markCell(int field, int row, bool on)
{
    QWidget* widget = cell(field, row);
    if (!widget)
        return;
    widget->setProperty("marked", on);
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
    widget->update();
}

void frmMain::cmdUpdate()
{
    // 1. Hide the rows. The rows' comments are already in Tracks (every edit
    // goes there as it is typed), so a box losing its focus now stores nothing.
    m_rowsShown = false;
    for (int i = 0; i < Rows; ++i)
        for (int f = 0; f < catalogue::FieldCount; ++f)
            cell(f, i)->hide();

    // 2. The empty catalogue.
    if (m_state.DiscCount == 0) {
        {
            const QSignalBlocker block(cmbDisc);
            m_discs->refill();
        }
        lblDisc->clear();
        m_state.Tracks.clear();
        m_state.TrackCount = 0;
        m_state.DiscIncomplete = false;
        m_state.catalogue().forgetTracks();
        m_shown = {};
        if (m_state.DiscRemoved == 1 && m_navi)
            m_navi->cmdRefresh();
        m_state.DiscRemoved = 0;
        m_state.RemoveDiscPending = 0;
        m_state.NewDiscPending = 0;
        m_state.EditPending = 0;
        if (m_state.RemoveMode == 4)
            m_state.RemoveMode = 0;
        m_state.HitField = -1;
        nameShownDisc();
        return; // the window keeps its height
    }

    // 3. The chooser follows the catalogue, and the navigator with it.
    if (m_state.DiscRemoved != 1) {
        if (cmbDisc->count() != m_state.DiscCount) {
            {
                const QSignalBlocker block(cmbDisc);
                m_discs->appendNewest();
            }
            if (m_navi)
                m_navi->cmdRefresh();
        }
    } else {
        {
            const QSignalBlocker block(cmbDisc);
            m_discs->removeDisc(m_state.RemovedDisc);
        }
        // The remover has emptied Tracks: whichever disc is shown next is
        // read from its file again.
        m_shown = {};
        if (m_navi)
            m_navi->cmdRefresh();
        m_state.DiscRemoved = 0;
    }

    // 4. Re-selection requests, each served once, whatever the chooser shows.
    if (m_state.HitPending == 1) {
        m_state.HitPending = 0;
        if (m_state.HitIndex >= 1 && m_state.HitIndex <= m_state.SearchHits.size()) {
            const int row = int(m_state.SearchHits.at(m_state.HitIndex - 1)[0]) - 1;
            // A hit whose disc has gone since the search shows nothing.
            if (row < m_state.DiscCount &&
                m_state.Discs.at(row).name == m_state.SearchHitDiscs.value(m_state.HitIndex - 1))
                selectDisc(row);
        }
    }
    if (m_state.RemoveDiscPending == 1) {
        m_state.RemoveDiscPending = 0;
        selectDisc(0);
    }
    if (m_state.NewDiscPending == 1) {
        m_state.NewDiscPending = 0;
        selectDisc(m_state.DiscCount - 1);
    }
    if (m_state.EditPending == 1) {
        m_state.EditPending = 0;
        selectDisc(m_state.CurrentDisc);
    }

    nameShownDisc();

    // 5. The window fits the rows.
    sizeToRows(m_state.TrackCount);

    // 6 and 7. Fill and show the rows.
    const int shownRows = std::min<int>(m_state.TrackCount, Rows);
    // A box that takes no typing says why.
    const QString readOnly = m_state.catalogue().readOnlyReason();
    for (int i = 0; i < shownRows; ++i) {
        const Track& track = m_state.Tracks.at(i);
        lblLabel[i]->setText(track[0]);
        lblProducer[i]->setText(track[1]);
        lblTitle[i]->setText(track[2]);
        lblDate[i]->setText(track[3]);
        lblLength[i]->setText(track[4]);
        lblFormat[i]->setText(track[5]);
        for (int f = 0; f < 6; ++f)
            cell(f, i)->setToolTip(track[f]);
        txtComments[i]->setText(m_state.catalogue().comment(i));
        txtComments[i]->setReadOnly(!readOnly.isEmpty());
        txtComments[i]->setToolTip(readOnly);
        txtComments[i]->setCursorPosition(0);
    }
    for (int i = 0; i < shownRows; ++i)
        for (int f = 0; f < catalogue::FieldCount; ++f)
            cell(f, i)->show();
    m_rowsShown = true;

    // 8 to 11. Total, disc length and the shown text.
    qint64 total = 0;
    bool totalKnown = true;
    for (int i = 0; i < m_state.TrackCount; ++i) {
        const std::optional<int> length = timetext::trackLength(m_state.Tracks.at(i)[4]);
        if (!length) {
            totalKnown = false;
            break;
        }
        total += *length;
    }
    if (!totalKnown) {
        lblTotlen->clear();
    } else {
        if (m_state.CurrentDisc < 0 || m_state.CurrentDisc >= m_state.DiscCount)
            return;
        const QString disc = m_state.Discs.at(m_state.CurrentDisc).name;
        std::optional<int> length = timetext::parse(m_state.settings().discLength(disc));
        if (!length) {
            // A disc shown for the first time gets the default length, and
            // its own total shows at once.
            m_state.settings().setDiscLength(disc, timetext::DefaultDiscLength);
            length = timetext::parse(timetext::DefaultDiscLength);
        }
        m_state.DiscLength = *length;
        TotalText = timetext::minutesForm(total);
        RemainingText = u'-' + timetext::minutesForm(m_state.DiscLength - total);
        m_overfull = total > m_state.DiscLength;
        showTotal(m_state.ShowRemaining);
    }

    // 12. The search mark.
    if (m_state.RemoveMode == 3) {
        if (m_state.HitField >= 0 && m_state.HitField <= 6)
            markCell(m_state.HitField, m_state.HitRow, false);
        markHit();
    } else if (m_state.RemoveMode == 4) {
        if (m_state.HitField >= 0 && m_state.HitField <= 6)
            markCell(m_state.HitField, m_state.HitRow, false);
        m_state.HitField = -1;
        m_state.RemoveMode = 0;
    }
}

void frmMain::nameShownDisc()
{
    // The task bar names the disc on show, and the navigator marks it.
    const QString name = lblDisc->text();
    setWindowTitle(name.isEmpty() ? QStringLiteral("Platterbook")
                                  : QStringLiteral("Platterbook \u2013 ") + name);
    // The name box also tells which catalogue is open.
    const QString folder = QDir::toNativeSeparators(QDir::cleanPath(m_state.dataDir()));
    lblDisc->setToolTip(name.isEmpty() ? QStringLiteral("The catalogue in ") + folder
                                       : name + QStringLiteral("\nin the catalogue ") + folder);
    m_discs->markShown(name.isEmpty() ? -1 : m_shown.row);
}

void frmMain::sizeToRows(int tracks)
{
    // As tall as its rows need, but never taller than its screen: then the
    // rows scroll. A window that grows past the screen's lower edge moves up.
    const QScreen* screen = QGuiApplication::screenAt(frameGeometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().height() : heightFor(tracks);
    const int height = std::min(heightFor(tracks), room);
    resizeWindow(Width, height);
    m_rowsArea->widget()->resize(m_rowsArea->widget()->width(),
                                 twips(1470 + 360 * std::max(tracks - 1, 0) + 285) - RowsTop + 2);
    m_rowsArea->resize(702, std::max(height - RowsTop - 6, 0));
    keepOnScreen();
}

void frmMain::markHit()
{
    m_state.HitField = -1;
    if (m_state.HitIndex < 1 || m_state.HitIndex > m_state.SearchHits.size())
        return;
    const auto& hit = m_state.SearchHits.at(m_state.HitIndex - 1);
    const int disc = int(hit[0]) - 1;
    // A hit is marked only on its own disc, and only where its text still is.
    if (!isShown(disc) || m_state.SearchHitDiscs.value(m_state.HitIndex - 1) != m_shown.name)
        return;
    const std::optional<QString> text = catalogue::readWholeText(m_shown.path);
    if (!text)
        return;
    const std::optional<int> place = search::cellOf(*text, hit[1] + hit[2], m_state.SearchText);
    if (!place)
        return;
    const int field = *place % catalogue::FieldCount;
    const int row = *place / catalogue::FieldCount;
    if (row >= m_state.TrackCount || row >= Rows)
        return;
    markCell(field, row, true);
    m_state.HitField = field;
    m_state.HitRow = row;
}

void frmMain::lblTotlen_Click()
{
    m_state.ShowRemaining = lblTotlen->text() != RemainingText;
    showTotal(m_state.ShowRemaining);
}

void frmMain::showTotal(bool remaining)
{
    lblTotlen->setText(remaining ? RemainingText : TotalText);
    lblTotlen->setToolTip(remaining ? FreeTip : TotalTip);
    lblTotlen->setAccessibleName(lblTotlen->toolTip());
    // More on the disc than it holds: the time still free is a warning.
    if (lblTotlen->property("overfull").toBool() != (remaining && m_overfull)) {
        lblTotlen->setProperty("overfull", remaining && m_overfull);
        lblTotlen->style()->unpolish(lblTotlen);
        lblTotlen->style()->polish(lblTotlen);
    }
}

// ---------------------------------------------------------------- comments

void frmMain::commentEdited(int index)
{
    QLineEdit* box = txtComments[index];
    // A line break, a tab or another control character becomes a blank.
    if (const QString text = codepage::oneLine(box->text()); text != box->text()) {
        const int at = box->cursorPosition();
        box->setText(text);
        box->setCursorPosition(std::min<int>(at, int(text.size())));
    }
    if (const QString refused = codepage::unstorableText(box->text()); !refused.isEmpty()) {
        box->setText(m_state.catalogue().comment(index));
        frmMsgbox::tell(m_state, this, 1, refused);
        return;
    }
    txtComments_LostFocus(index);
    // What is typed reaches the file soon after the typing stops.
    if (m_state.CommentsDirty == 1)
        m_commentTimer->start();
}

bool frmMain::tracksAreShownDisc() const
{
    return m_shown.row >= 0 && !m_entryHoldsTracks;
}

void frmMain::txtComments_LostFocus(int Index)
{
    // Only while the rows show the disc that Tracks holds.
    if (m_state.TrackCount == 0 || !m_rowsShown || Index >= m_state.TrackCount ||
        !tracksAreShownDisc() || m_state.DiscIncomplete)
        return;
    m_state.catalogue().setComment(Index, txtComments[Index]->text());
}

bool frmMain::cmdComments()
{
    m_commentTimer->stop();
    // Tracks that are not the shown disc's are never written to its file.
    if (!tracksAreShownDisc() || m_state.DiscIncomplete) {
        m_state.catalogue().dropComments();
        return true;
    }
    return report(m_state.catalogue().saveComments());
}

void frmMain::releaseCatalogue()
{
    m_state.catalogue().unlock();
}

void frmMain::saveForExit()
{
    m_commentTimer->stop();
    if (m_state.CommentsDirty != 1 || !tracksAreShownDisc() || m_state.DiscIncomplete)
        return;
    // No one may be there to answer a message: the reason goes to the log.
    const Change change = m_state.catalogue().saveComments();
    if (!change.problem.isEmpty())
        std::fprintf(stderr, "platterbook: %s\n", qPrintable(change.problem));
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblTotlen) {
        if (event->type() == QEvent::MouseButtonPress)
            return true; // a click on the total does not drag the window
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (lblTotlen->rect().contains(mouse->position().toPoint()))
                lblTotlen_Click();
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut) {
        for (int i = 0; i < Rows; ++i)
            if (watched == txtComments[i])
                txtComments_LostFocus(i);
    }
    return QDialog::eventFilter(watched, event);
}
