#include "editing/frmNewt.h"

#include "dialogs/ElidedLabel.h"
#include "dialogs/PictureButton.h"
#include "dialogs/frmMsgbox.h"
#include "editing/AudioTags.h"
#include "store/Codepage.h"
#include "store/Module1.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QStandardPaths>
#include <QTimer>

using catalogue::Track;

frmNewt::frmNewt(Module1& state, Mode mode, int editRow, QWidget* owner)
    : RoundedWindow(QStringLiteral("newt"), QSize(376, 260), 18, owner), m_state(state),
      m_mode(mode), m_editRow(editRow)
{
    setWindowTitle(QStringLiteral("New Track"));
    setObjectName(QStringLiteral("frmNewt"));
    setStyleSheet(dialogStyleSheet());
    setAttribute(Qt::WA_DeleteOnClose);

    auto box = [this](int top, const QString& name) {
        auto* edit = new QLineEdit(this);
        edit->setMaxLength(TextBoxLimit);
        edit->setGeometry(168, top, 185, 21);
        edit->setAccessibleName(name);
        return edit;
    };
    txtLabel = box(14, QStringLiteral("Label"));
    txtProducer = box(38, QStringLiteral("Producer"));
    txtTitle = box(62, QStringLiteral("Title"));
    txtLength = box(86, QStringLiteral("Length"));
    txtDate = box(110, QStringLiteral("Date"));
    cmbFormat = new QComboBox(this);
    cmbFormat->setGeometry(168, 134, 185, 22);
    cmbFormat->setEditable(true);
    cmbFormat->setInsertPolicy(QComboBox::NoInsert);
    cmbFormat->addItems(catalogue::Formats);
    cmbFormat->setCurrentIndex(-1);
    cmbFormat->setEditText(QString());
    cmbFormat->setAccessibleName(QStringLiteral("Format"));
    cmbFormat->lineEdit()->setMaxLength(TextBoxLimit);

    // What is typed stays as typed: no completion, and no quiet change of
    // letter case when the box is left (only the codes are turned into entries).
    auto* exact = new QCompleter(QStringList(), cmbFormat);
    exact->setCaseSensitivity(Qt::CaseSensitive);
    cmbFormat->setCompleter(exact);

    txtComments = box(162, QStringLiteral("Comments"));
    chkSave = new QCheckBox(this);
    chkSave->setGeometry(168, 190, 16, 16);
    chkSave->setAccessibleName(QStringLiteral("Save track information"));
    lblSave = new QLabel(QStringLiteral("Save track information"), this);
    lblSave->setGeometry(190, 189, 170, 18);

    const QStringList captions = {"Label", "Producer", "Title",   "Length",
                                  "Date",  "Format",   "Comments"};
    const int tops[] = {14, 38, 62, 86, 110, 134, 162};
    for (int i = 0; i < 7; ++i) {
        fieldLabels[i] = new QLabel(captions.at(i), this);
        fieldLabels[i]->setGeometry(24, tops[i] + 2, 130, 18);
    }
    lblTrack = new QLabel(QStringLiteral("Track Number"), this);
    lblTrack->setGeometry(24, 189, 90, 18);
    lblTrackno = new QLabel(this);
    lblTrackno->setGeometry(118, 189, 40, 18);
    lblTrack->hide();
    lblTrackno->hide();
    // Between the boxes and the buttons, clear of both.
    lblAlso = new ElidedLabel(this);
    lblAlso->setGeometry(24, 207, 330, 15);
    lblAlso->setAccessibleName(QStringLiteral("Also on"));
    QFont small = lblAlso->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    lblAlso->setFont(small);
    m_alsoPause = new QTimer(this);
    m_alsoPause->setSingleShot(true);
    m_alsoPause->setInterval(500);
    connect(m_alsoPause, &QTimer::timeout, this, &frmNewt::cmdAlso);
    for (QLineEdit* typed : {txtProducer, txtTitle})
        connect(typed, &QLineEdit::textChanged, m_alsoPause, qOverload<>(&QTimer::start));
    connect(txtTitle, &QLineEdit::editingFinished, this, &frmNewt::cmdAlso);

    setTabOrder(txtLabel, txtProducer);
    setTabOrder(txtProducer, txtTitle);
    setTabOrder(txtTitle, txtLength);
    setTabOrder(txtLength, txtDate);
    setTabOrder(txtDate, cmbFormat);
    setTabOrder(cmbFormat, txtComments);
    setTabOrder(txtComments, chkSave);

    picSave = addButton(QStringLiteral("save"), {64, 223}, {81, 26}, QStringLiteral("Save"),
                        QStringLiteral("Store the track (Enter)"));
    picCancel = addButton(QStringLiteral("cancel"), {232, 223}, {81, 26}, QStringLiteral("Cancel"),
                          QStringLiteral("Cancel (Esc)"));
    setKeyButtons(picSave, picCancel);
    connect(picSave, &PictureButton::MouseUp, this, &frmNewt::picSave_MouseUp);
    connect(picCancel, &PictureButton::MouseUp, this, &frmNewt::picCancel_MouseUp);
    // Tracks from audio files: chosen with this button, or dropped anywhere on
    // the window (the boxes leave such drops to it).
    picFromFiles = addButton(QStringLiteral("fromfiles"), {150, 223}, {76, 26},
                             QStringLiteral("From files\u2026"),
                             QStringLiteral("Fill the boxes from audio files' tags"));
    connect(picFromFiles, &PictureButton::MouseUp, this, &frmNewt::picFromFiles_MouseUp);
    setAcceptDrops(true);
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->setAcceptDrops(false);
    chooseAudioFiles = [] {
        QFileDialog dialog(nullptr, QStringLiteral("Tracks from audio files"),
                           QStandardPaths::writableLocation(QStandardPaths::MusicLocation));
        useDesktopLook(&dialog);
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setNameFilters(audioFileFilters());
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
    };

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &frmNewt::Timer1_Timer);

    // The format is checked whenever the focus leaves the box for another
    // control of this window.
    m_focusWatch =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* from, QWidget* to) {
            const auto inFormat = [this](QWidget* w) {
                return w && (w == cmbFormat || cmbFormat->isAncestorOf(w));
            };
            // Checked once the focus has settled, not in the middle of its move.
            // The flash between tracks moves the focus off hidden boxes: that is
            // not the user leaving the box.
            if (inFormat(from) && to && !inFormat(to) && to->window() == this &&
                cmbFormat->isVisible() && !Timer1->isActive())
                QMetaObject::invokeMethod(
                    this, [this] { cmbFormat_LostFocus(); }, Qt::QueuedConnection);
        });

    Form_Load();
}

frmNewt::~frmNewt()
{
    // Closing the window moves the focus; this window is no longer there to
    // look at it, nor to look up a title whose box loses the focus.
    disconnect(m_focusWatch);
    txtTitle->disconnect(this);
}

std::array<QLineEdit*, 7> frmNewt::boxes() const
{
    return {txtLabel,  txtProducer,           txtTitle,   txtDate,
            txtLength, cmbFormat->lineEdit(), txtComments};
}

catalogue::Track frmNewt::typed() const
{
    Track track;
    for (int field = 0; field < catalogue::FieldCount; ++field)
        track[field] = boxes()[field]->text();
    return track;
}

void frmNewt::Form_Load()
{
    if (m_mode == Mode::Edit) {
        chkSave->hide();
        lblSave->hide();
        picFromFiles->hide();
        if (m_editRow >= 0 && m_editRow < m_state.Tracks.size())
            for (int field = 0; field < catalogue::FieldCount; ++field)
                boxes()[field]->setText(m_state.Tracks.at(m_editRow)[field]);
    } else {
        if (m_mode == Mode::NewDisc) {
            lblTrackno->setText(QString::number(m_state.EntryTrack));
            lblTrack->show();
            lblTrackno->show();
        } else {
            chkSave->hide();
            lblSave->hide();
        }
        for (QLineEdit* box : boxes())
            if (box != cmbFormat->lineEdit())
                box->clear();
    }
    Timer1->stop();
    txtLabel->setFocus();
}

bool frmNewt::cmbFormat_LostFocus()
{
    if (m_checkingFormat)
        return true;
    if (const std::optional<QString> format = catalogue::formatFor(cmbFormat->currentText())) {
        if (*format != cmbFormat->currentText())
            cmbFormat->setEditText(*format);
        return true;
    }
    m_checkingFormat = true;
    frmMsgbox::tell(m_state, parentWidget(), 3, QStringLiteral("You must choose from the list."));
    cmbFormat->setFocus();
    m_checkingFormat = false;
    return false;
}

bool frmNewt::refusesText()
{
    QLineEdit* boxes[] = {txtLabel,  txtProducer,           txtTitle,   txtDate,
                          txtLength, cmbFormat->lineEdit(), txtComments};
    for (QLineEdit* box : boxes) {
        // A pasted line break, tab or other control character is a blank.
        if (const QString text = codepage::oneLine(box->text()); text != box->text())
            box->setText(text);
        if (const QString problem = codepage::unstorableText(box->text()); !problem.isEmpty()) {
            frmMsgbox::tell(m_state, parentWidget(), 1, problem);
            box->setFocus();
            return true;
        }
    }
    return false;
}

void frmNewt::finish()
{
    close();
}

void frmNewt::picSave_MouseUp(int, int, float X, float Y)
{
    const bool clicked = picSave->isPressed(); // Enter presses nothing
    if (!picSave->release(X, Y))
        return;
    // A click on Save takes the focus from the format box, so the box's
    // check comes first; Enter leaves the focus where it is.
    if (clicked && cmbFormat->hasFocus() && !cmbFormat_LostFocus())
        return;
    if (txtTitle->text().isEmpty()) {
        frmMsgbox::tell(m_state, parentWidget(), 1, QStringLiteral("You must enter a title."));
        txtTitle->setFocus();
        return;
    }
    if (refusesText())
        return;
    if (m_mode == Mode::Edit) {
        cmdtrackedit();
        return;
    }
    const Track track = typed();
    const Change change = m_mode == Mode::AddTrack ? m_state.catalogue().addTrack(track)
                                                   : m_state.catalogue().storeEntryTrack(track);
    if (!change.done) {
        // Nothing to add to closes; a failure keeps the track in the boxes.
        if (change.problem.isEmpty())
            finish();
        frmMsgbox::report(m_state, parentWidget(), change);
        return;
    }
    // A new disc's last track, or the one track added.
    if (m_state.EntryTrack == 0) {
        lblTrack->hide();
        lblTrackno->hide();
        finish();
        return;
    }
    const int k = m_state.EntryTrack - 1;
    lblTrackno->setText(QString::number(k + 1));
    Timer1->start();
    if (!chkSave->isChecked()) {
        for (QLineEdit* box : {txtLabel, txtProducer, txtDate, txtLength})
            box->clear();
        cmbFormat->setCurrentIndex(-1);
        cmbFormat->setEditText(QString());
    }
    txtTitle->clear();
    txtComments->clear();
    fillFromNextFile();
}

void frmNewt::cmdAlso()
{
    m_alsoPause->stop();
    QList<songs::Index::Hit> hits;
    if (!txtTitle->text().trimmed().isEmpty())
        hits = m_state.catalogue().sameSong(txtProducer->text(), txtTitle->text());
    // The track being edited is not somewhere else.
    if (m_mode == Mode::Edit && m_state.CurrentDisc >= 0 && m_state.CurrentDisc < m_state.DiscCount)
        hits.removeIf([this](const songs::Index::Hit& hit) {
            return hit.track == m_editRow && hit.disc == m_state.Discs.at(m_state.CurrentDisc).name;
        });
    QStringList all;
    for (const songs::Index::Hit& hit : hits)
        all.append(QStringLiteral("%1, track %2").arg(hit.disc).arg(hit.track + 1));
    lblAlso->setText(hits.isEmpty() ? QString()
                                    : QStringLiteral("Also on %1").arg(all.first()) +
                                          (hits.size() > 1
                                               ? QStringLiteral(" and %1 more").arg(hits.size() - 1)
                                               : QString()));
    lblAlso->setToolTip(all.join(u'\n'));
}

void frmNewt::picFromFiles_MouseUp(int, int, float X, float Y)
{
    if (picFromFiles->release(X, Y))
        takeFiles(chooseAudioFiles());
}

void frmNewt::takeFiles(const QStringList& chosen)
{
    if (chosen.isEmpty() || m_mode == Mode::Edit)
        return;
    // A playlist or cue sheet stands for its tracks.
    QList<AudioTrack> files = audioTracksFrom(chosen);
    // As many as the disc still takes: the planned tracks not yet stored, or
    // the one track being added.
    const int room = m_mode == Mode::NewDisc ? m_state.catalogue().entryRoom() : 1;
    if (files.size() > room) {
        frmMsgbox::tell(
            m_state, parentWidget(), 2,
            QStringLiteral("Only %1 more %2 on this disc: '%3' and the files after it "
                           "are left out.")
                .arg(room)
                .arg(room == 1 ? QStringLiteral("track fits") : QStringLiteral("tracks fit"))
                .arg(QFileInfo(files.at(room).file).fileName()));
        files = files.mid(0, room);
    }
    m_files = files;
    fillFromNextFile();
}

void frmNewt::fillFromNextFile()
{
    while (!m_files.isEmpty()) {
        const AudioTrack audio = m_files.takeFirst();
        if (!audio.problem.isEmpty()) {
            frmMsgbox::tell(m_state, parentWidget(), 1, audio.problem);
            continue;
        }
        for (int field = 0; field < 5; ++field)
            boxes()[field]->setText(audio.track[field]);
        txtComments->clear();
        // Text the catalogue cannot hold stays in its box, to be corrected.
        if (const QString problem = unstorableText(audio); !problem.isEmpty())
            frmMsgbox::tell(m_state, parentWidget(), 1, problem);
        return;
    }
}

void frmNewt::dragEnterEvent(QDragEnterEvent* event)
{
    if (m_mode != Mode::Edit && event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void frmNewt::dropEvent(QDropEvent* event)
{
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    event->acceptProposedAction();
    takeFiles(files);
}

void frmNewt::cmdtrackedit()
{
    const Change change = m_state.catalogue().editTrack(m_editRow, typed());
    // A failed write keeps the edit in the boxes.
    if (frmMsgbox::report(m_state, parentWidget(), change) || change.problem.isEmpty())
        finish();
}

void frmNewt::Timer1_Timer()
{
    QWidget* parts[] = {txtLabel,    txtProducer, txtTitle, txtLength, txtDate,   cmbFormat,
                        txtComments, chkSave,     lblSave,  lblTrack,  lblTrackno};
    if (fieldLabels[0]->isVisible()) {
        for (QLabel* label : fieldLabels)
            label->hide();
        for (QWidget* w : parts)
            w->hide();
        return;
    }
    for (QLabel* label : fieldLabels)
        label->show();
    for (QWidget* w : parts)
        w->show();
    Timer1->stop();
    // The next track is typed at once, from the first box that was emptied.
    if (chkSave->isChecked())
        txtTitle->setFocus();
    else
        txtLabel->setFocus();
}

void frmNewt::dropNewDisc()
{
    // A disc still there after a failed write: the entry goes on.
    if (frmMsgbox::report(m_state, parentWidget(), m_state.catalogue().dropNewDisc()))
        close();
}

void frmNewt::picCancel_MouseUp(int, int, float X, float Y)
{
    if (!picCancel->release(X, Y))
        return;
    Timer1->stop();
    if (m_mode != Mode::NewDisc) {
        finish();
        return;
    }
    if (m_state.EntryTrack <= 1) {
        // Nothing stored yet: the new disc goes again, so no unloadable disc
        // is left behind.
        dropNewDisc();
        return;
    }
    const QString answer = frmMsgbox::ask(
        m_state, this, 5,
        QStringLiteral("Do you want to make a disc from the data you have entered this far?"));
    if (answer == QLatin1String("yes")) {
        if (frmMsgbox::report(m_state, parentWidget(), m_state.catalogue().keepEntry()))
            finish();
    } else if (answer == QLatin1String("no")) {
        dropNewDisc();
    }
    // Dismissed: no decision, the entry goes on.
}
