#include "editing/frmNewd.h"

#include "dialogs/PictureButton.h"
#include "dialogs/frmMsgbox.h"
#include "store/Codepage.h"
#include "store/Module1.h"
#include "store/TimeText.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace {

QString whyNot(catalogue::NameProblem problem, const QString& name)
{
    using catalogue::NameProblem;
    switch (problem) {
    case NameProblem::Separator:
        return QStringLiteral("A disc name cannot contain / or \\.");
    case NameProblem::IndexName:
        return QStringLiteral("The name '%1' is kept for the catalogue's own index.").arg(name);
    case NameProblem::ForbiddenChar:
        return QStringLiteral("A disc name cannot contain any of : * ? \" < > |");
    case NameProblem::ControlChar:
        return QStringLiteral("A disc name cannot contain tabs or other control characters.");
    case NameProblem::ReservedName:
        return QStringLiteral("The name '%1' is reserved by Windows and cannot name a file.")
            .arg(name);
    case NameProblem::NotInCodepage:
        return QStringLiteral("The character '%1' cannot be stored in the catalogue.")
            .arg(codepage::firstUnrepresentable(name));
    case NameProblem::TooLong:
        return QStringLiteral(
            "That name is too long for a file name. Please choose a shorter one.");
    case NameProblem::None:
        break;
    }
    return {};
}

} // namespace

frmNewd::frmNewd(Module1& state, QWidget* owner)
    : RoundedWindow(QStringLiteral("newd"), QSize(376, 129), 18, owner), m_state(state)
{
    setWindowTitle(QStringLiteral("New Disc"));
    setObjectName(QStringLiteral("frmNewd"));
    setStyleSheet(dialogStyleSheet());

    txtDisc = new QLineEdit(this);
    txtDisc->setMaxLength(TextBoxLimit);
    txtDisc->setGeometry(168, 20, 185, 22);
    txtDisc->setAccessibleName(QStringLiteral("Disc Title"));
    txtTracks = new QLineEdit(this);
    txtTracks->setMaxLength(TextBoxLimit);

    txtTracks->setGeometry(168, 52, 64, 22);
    txtTracks->setAccessibleName(QStringLiteral("Number of Tracks"));
    lblDisc = new QLabel(QStringLiteral("Disc Title"), this);
    lblDisc->setGeometry(22, 22, 140, 18);
    lblDisc->setBuddy(txtDisc);
    lblTracks = new QLabel(QStringLiteral("Number of Tracks"), this);
    lblTracks->setGeometry(22, 54, 140, 18);
    lblTracks->setBuddy(txtTracks);
    setTabOrder(txtDisc, txtTracks);

    picSave = addButton(QStringLiteral("save"), {64, 96}, {81, 26}, QStringLiteral("Save"),
                        QStringLiteral("Create the disc (Enter)"));
    picCancel = addButton(QStringLiteral("cancel"), {232, 96}, {81, 26}, QStringLiteral("Cancel"),
                          QStringLiteral("Cancel (Esc)"));
    setKeyButtons(picSave, picCancel);
    connect(picSave, &PictureButton::MouseUp, this, &frmNewd::picSave_MouseUp);
    connect(picCancel, &PictureButton::MouseUp, this, &frmNewd::picCancel_MouseUp);
}

bool frmNewd::refuse(int kind, const QString& text, QLineEdit* focus)
{
    frmMsgbox::tell(m_state, parentWidget(), kind, text);
    focus->setFocus();
    return false;
}

void frmNewd::picSave_MouseUp(int, int, float X, float Y)
{
    if (!picSave->release(X, Y))
        return;
    const QString name = txtDisc->text();
    const QString countText = txtTracks->text();
    if (name.isEmpty()) {
        refuse(2, QStringLiteral("You must give your disc a name!"), txtDisc);
        return;
    }
    if (const auto problem = catalogue::newNameProblem(name);
        problem != catalogue::NameProblem::None) {
        refuse(1, whyNot(problem, name), txtDisc);
        return;
    }
    for (int row = 0; row < m_state.DiscCount; ++row) {
        if (m_state.Discs.at(row).name.compare(name, Qt::CaseInsensitive) == 0) {
            refuse(1,
                   QStringLiteral("There is already a disc named '%1'.")
                       .arg(m_state.Discs.at(row).name),
                   txtDisc);
            return;
        }
    }
    // A file left behind in Data must never receive a new disc's tracks.
    const QString fileName = name + QStringLiteral(".txt");
    const QStringList present = QDir(m_state.dataDir()).entryList(QDir::AllEntries | QDir::Hidden);
    for (const QString& entry : present) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0) {
            refuse(1,
                   QStringLiteral("The Data folder already holds a file named '%1'. Please choose "
                                  "another name.")
                       .arg(entry),
                   txtDisc);
            return;
        }
    }
    if (countText.isEmpty()) {
        refuse(2, QStringLiteral("You must specify the number of tracks!"), txtTracks);
        return;
    }
    const catalogue::LeadingNumber number = catalogue::leadingNumber(countText);
    if (!number.found) {
        refuse(1, QStringLiteral("Enter the number of tracks."), txtTracks);
        return;
    }
    const std::optional<int> planned = catalogue::countOf(countText);
    // A count too far below zero to be counted is still below one.
    const bool belowOne = planned ? *planned < 1 : number.value < 0;
    if (!belowOne && (!planned || *planned > m_state.TrackLimit)) {
        refuse(2,
               QStringLiteral("Discs with more than %1 tracks are unsupported.")
                   .arg(m_state.TrackLimit),
               txtTracks);
        return;
    }
    if (belowOne) {
        refuse(1, QStringLiteral("Enter the number of tracks."), txtTracks);
        return;
    }
    if (!codepage::representable(countText) || countText.contains(u'\r') ||
        countText.contains(u'\n')) {
        refuse(1,
               QStringLiteral("The character '%1' cannot be stored in the catalogue.")
                   .arg(codepage::firstUnrepresentable(countText)),
               txtTracks);
        return;
    }

    const Change change = m_state.catalogue().addDisc(name, countText, *planned);
    if (!change.done) {
        refuse(1, change.problem, txtDisc);
        if (change.changedOutside)
            emit changedOutside();
        return;
    }
    txtDisc->clear();
    txtTracks->clear();
    hide();
    emit discCreated();
}

void frmNewd::picCancel_MouseUp(int, int, float X, float Y)
{
    if (!picCancel->release(X, Y))
        return;
    m_state.NewDiscPending = 0;
    hide();
}
