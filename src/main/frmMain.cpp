#include "main/frmMain.h"

#include "dialogs/ElidedLabel.h"
#include "dialogs/PictureButton.h"
#include "dialogs/frmMsgbox.h"
#include "main/DiscList.h"
#include "main/Screenres.h"
#include "navigator/frmNavi.h"
#include "store/Codepage.h"
#include "store/Module1.h"
#include "store/Search.h"
#include "store/TimeText.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int twips(int t)
{
    return t / TwipsPerPixel;
}

const QString TotalTip = QStringLiteral("Total playing time");
const QString FreeTip = QStringLiteral("Time still free on the disc");

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
    // A spreadsheet of discs dropped anywhere on it; the comment boxes leave
    // such drops to the window.
    setAcceptDrops(true);
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->setAcceptDrops(false);
    m_commentTimer = new QTimer(this);
    m_commentTimer->setSingleShot(true);
    m_commentTimer->setInterval(CommentDelay);
    connect(m_commentTimer, &QTimer::timeout, this, [this] {
        if (m_state.CommentsDirty)
            cmdComments();
    });
    // The view follows the catalogue: a disc shown, its tracks changed.
    const Catalogue* catalogue = &m_state.catalogue();
    connect(catalogue, &Catalogue::discShown, this, &frmMain::cmdUpdate);
    connect(catalogue, &Catalogue::tracksChanged, this, &frmMain::cmdUpdate);
}

frmMain::~frmMain()
{
    // The rows outlive this part of the window while the base class takes
    // its children down; a focus change then must not reach a half-gone main
    // window.
    rows->disconnect(this);
    lblTotlen->removeEventFilter(this);
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
    cmbDisc->setCurrentIndex(-1);
    cmbDisc->setGeometry(twips(480), twips(840), twips(3975), twips(360));
    cmbDisc->setAccessibleName(QStringLiteral("Disc"));
    cmbDisc->setMaxVisibleItems(20);
    // Only the user's choice shows a disc; the chooser itself shows the disc
    // on show, also as discs come and go.
    connect(cmbDisc, &QComboBox::activated, this, &frmMain::cmbDisc_Click);
    const auto showShown = [this] { cmbDisc->setCurrentIndex(shownRow()); };
    connect(m_discs, &QAbstractItemModel::rowsInserted, this, showShown);
    connect(m_discs, &QAbstractItemModel::rowsRemoved, this, showShown);
    connect(m_discs, &QAbstractItemModel::modelReset, this, showShown);

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

    rows = new TrackRows(this);
    connect(rows, &TrackRows::commentEdited, this, &frmMain::commentEdited);
    connect(rows, &TrackRows::commentLeft, this, &frmMain::txtComments_LostFocus);

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
    if (!Screenres(m_state, this, &m_mainHeight)) {
        emit programEnded();
        return false;
    }
    resizeWindow(Width, twips(m_mainHeight));
    rows->resize(702, height() - TrackRows::Top - 6);
    placeAtTwips(4005, 1800);

    Catalogue& catalogue = m_state.catalogue();
    Catalogue::Opening opening = catalogue.open();
    if (opening.status == Catalogue::Opening::HeldElsewhere) {
        if (!frmMsgbox::askYes(m_state, this,
                               QStringLiteral("This catalogue is open in Platterbook on the "
                                              "computer '%1', or was when it stopped. Open it "
                                              "here anyway?")
                                   .arg(opening.host)) ||
            !catalogue.takeOverLock()) {
            catalogue.unlock();
            emit programEnded();
            return false;
        }
        opening = catalogue.open();
    }
    switch (opening.status) {
    case Catalogue::Opening::NoFolder:
    case Catalogue::Opening::NoIndex:
        return firstRun(opening.status == Catalogue::Opening::NoFolder);
    case Catalogue::Opening::HeldHere:
    case Catalogue::Opening::HeldElsewhere:
        return endWith(
            1, QStringLiteral("This catalogue is already open in another Platterbook window."));
    case Catalogue::Opening::Refused:
        return endWith(1, opening.text.endsWith(u'.')
                              ? opening.text
                              : opening.text + QStringLiteral(". Platterbook will close without "
                                                              "changing it."));
    case Catalogue::Opening::Opened:
        break;
    }
    if (!opening.notice.isEmpty())
        frmMsgbox::tell(m_state, this, 3, opening.notice);
    // The navigator is made when it is first shown: it keeps no list of its
    // own, so a hidden one would only wait.
    if (m_state.DiscCount > 0 && m_state.settings().navi() == QLatin1String("1")) {
        ensureNavigator();
        m_navi->show();
    }
    nameShownDisc();
    return true;
}

bool frmMain::firstRun(bool folderMissing)
{
    if (!frmMsgbox::askYes(m_state, this,
                           QStringLiteral("Is this the first time you have used this program?")))
        return endWith(1,
                       folderMissing
                           ? QStringLiteral("You must ensure the folder named 'Data' is contained "
                                            "within the same folder as this application.")
                           : QStringLiteral("You must ensure the file named 'Index' can be found "
                                            "within the folder named 'Data' in the same folder "
                                            "as this application."));
    frmMsgbox::ask(
        m_state, this, 2,
        folderMissing ? QStringLiteral("The data file named 'Index' will be placed inside a folder "
                                       "named 'Data' in the same folder as this application.  You "
                                       "can then proceed to create your compilations!")
                      : QStringLiteral("The data file named 'Index' will be placed inside the "
                                       "folder named 'Data'.  You can then proceed to create your "
                                       "compilations!"),
        folderMissing ? 76 : 53);
    if (const QString problem = m_state.catalogue().createCatalogue(); !problem.isEmpty())
        return endWith(1, problem);
    return true;
}

void frmMain::ensureNavigator()
{
    if (m_navi)
        return;
    m_navi = new frmNavi(m_state, m_discs);
    connect(m_navi, &frmNavi::shortcutTyped, this, &frmMain::Form_KeyPress);
    connect(m_navi, &frmNavi::discChosen, this, [this](int row) {
        // Double-click in the navigator: the disc on show is not loaded again.
        if (row != shownRow())
            DiscSelect(row);
    });
}

// ---------------------------------------------------------------- disc view

void frmMain::cmbDisc_Click()
{
    const int row = cmbDisc->currentIndex();
    if (row >= 0 && row != shownRow())
        DiscSelect(row);
}

bool frmMain::DiscSelect(int row)
{
    m_commentTimer->stop();
    const bool shown = frmMsgbox::report(m_state, this, m_state.catalogue().showDisc(row));
    if (!shown)
        cmdUpdate(); // the chooser goes back to the disc on show
    else
        askAboutShortDisc();
    return shown;
}

void frmMain::askAboutShortDisc()
{
    // The file holds fewer whole records than its count, as when the entry of
    // a new disc was cut off. Keeping them only corrects the count.
    if (m_state.DiscIncomplete &&
        frmMsgbox::askYes(m_state, this,
                          QStringLiteral("Do you want to make a disc from the data you have "
                                         "entered this far?")))
        frmMsgbox::report(m_state, this, m_state.catalogue().keepShortDisc());
}

int frmMain::shownRow() const
{
    const bool shown = !m_state.DiscPath.isEmpty() && m_state.CurrentDisc >= 0 &&
                       m_state.CurrentDisc < m_state.DiscCount;
    return shown ? m_state.CurrentDisc : -1;
}

void frmMain::cmdUpdate()
{
    ++m_redraws;
    const bool shown = shownRow() >= 0;
    cmbDisc->setCurrentIndex(shownRow());
    lblDisc->setText(shown ? m_state.Discs.at(m_state.CurrentDisc).name : QString());
    nameShownDisc();
    rows->mark(-1, 0);
    if (m_state.DiscCount == 0) {
        rows->hideAll();
        return; // the window keeps its height
    }
    sizeToRows(m_state.TrackCount);
    rows->showTracks(
        m_state.Tracks, [this](int row) { return m_state.catalogue().comment(row); },
        m_state.catalogue().readOnlyReason());

    // The total, and the time still free on the disc.
    if (const std::optional<qint64> total = timetext::totalLength(m_state.Tracks); !total) {
        lblTotlen->clear();
    } else if (shown) {
        TotalText = timetext::minutesForm(*total);
        RemainingText = u'-' + timetext::minutesForm(m_state.DiscLength - *total);
        m_overfull = *total > m_state.DiscLength;
        showTotal(ShowRemaining);
    }
    if (m_hit > 0)
        markHit();
}

void frmMain::nameShownDisc()
{
    // The task bar names the disc on show.
    const QString name = lblDisc->text();
    setWindowTitle(name.isEmpty() ? QStringLiteral("Platterbook")
                                  : QStringLiteral("Platterbook \u2013 ") + name);
    // The name box also tells which catalogue is open.
    const QString folder = QDir::toNativeSeparators(QDir::cleanPath(m_state.dataDir()));
    lblDisc->setToolTip(name.isEmpty() ? QStringLiteral("The catalogue in ") + folder
                                       : name + QStringLiteral("\nin the catalogue ") + folder);
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
    rows->fitTo(tracks, height);
    keepOnScreen();
}

void frmMain::showHit(int k)
{
    m_hit = k;
    const int row = int(m_state.SearchHits.at(k - 1)[0]) - 1;
    // The hit's disc is shown once; the disc on show is only marked.
    if (row != shownRow()) {
        if (!DiscSelect(row))
            return;
    } else {
        markHit();
    }
}

void frmMain::markHit()
{
    rows->mark(-1, 0);
    if (m_hit < 1 || m_hit > m_state.SearchHits.size())
        return;
    const auto& hit = m_state.SearchHits.at(m_hit - 1);
    // A hit is marked only on its own disc, and only where its text still is.
    const int disc = int(hit[0]) - 1;
    if (disc != shownRow() ||
        m_state.Discs.at(disc).name != m_state.SearchHitDiscs.value(m_hit - 1))
        return;
    const std::optional<QString> text = catalogue::readWholeText(m_state.DiscPath);
    const std::optional<int> place =
        text ? search::cellOf(*text, hit[1] + hit[2], m_state.SearchText) : std::nullopt;
    if (place && *place / catalogue::FieldCount < m_state.TrackCount)
        rows->mark(*place % catalogue::FieldCount, *place / catalogue::FieldCount);
}

void frmMain::lblTotlen_Click()
{
    ShowRemaining = lblTotlen->text() != RemainingText;
    showTotal(ShowRemaining);
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
    QLineEdit* box = rows->txtComments[index];
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
    if (m_state.CommentsDirty)
        m_commentTimer->start();
}

void frmMain::txtComments_LostFocus(int Index)
{
    // Only while the rows show the disc's tracks and take typing.
    if (rows->rowsShown() && Index < m_state.TrackCount && !rows->txtComments[Index]->isReadOnly())
        m_state.catalogue().setComment(Index, rows->txtComments[Index]->text());
}

bool frmMain::cmdComments()
{
    m_commentTimer->stop();
    return frmMsgbox::report(m_state, this, m_state.catalogue().saveComments());
}

bool frmMain::saveCommentsFirst()
{
    return !m_state.CommentsDirty || cmdComments();
}

void frmMain::releaseCatalogue()
{
    m_state.catalogue().unlock();
}

void frmMain::saveForExit()
{
    m_commentTimer->stop();
    if (!m_state.CommentsDirty)
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
    return QDialog::eventFilter(watched, event);
}
